// Answers one address itself, from an app file it fetches.
importScripts('worker-words.js');
addEventListener('install', () => skipWaiting());
addEventListener('activate', (event) => event.waitUntil(clients.claim()));
addEventListener('fetch', (event) => {
  if (!event.request.url.endsWith('/from-service-worker')) return;
  event.respondWith(fetch('bundle.txt').then((response) => response.text())
    .then((text) => new Response(answer('service worker', text))));
});
