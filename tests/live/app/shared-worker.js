// Answers each page that connects with an app file it fetches.
importScripts('worker-words.js');
onconnect = async (event) => {
  const text = await (await fetch('folder-only.txt')).text();
  event.ports[0].postMessage(answer('shared worker', text));
};
