// Both workers load this with importScripts.
self.answer = (worker, text) => `${worker} read "${text}"`;
