// A service worker and a shared worker of the app origin, each asked for an answer it can only
// give with files it loads from the host itself.
export const serviceWorkerAnswer = async () => {
  await navigator.serviceWorker.register('service-worker.js');
  // It claims the page once active; only then does it see the page's requests.
  if (!navigator.serviceWorker.controller) {
    await new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve, { once: true }));
  }
  return (await fetch('from-service-worker')).text();
};

export const sharedWorkerAnswer = () => new Promise((resolve, reject) => {
  const worker = new SharedWorker('shared-worker.js');
  worker.addEventListener('error', () => reject(new Error('the shared worker did not start')));
  worker.port.onmessage = (event) => resolve(event.data);
});
