// Put in every document of a judged run: the times between the frames the engine draws
// (its requestAnimationFrame timestamps) and its long tasks, read at the end of the run.
(() => {
  if (window !== window.top) return;
  const intervals = [];
  let frames = 0;
  let last = null;
  let longTasks = 0;
  const frame = (now) => {
    frames += 1;
    if (last !== null) intervals.push(now - last);
    last = now;
    requestAnimationFrame(frame);
  };
  requestAnimationFrame(frame);
  try {
    new PerformanceObserver((list) => { longTasks += list.getEntries().length; })
      .observe({ type: 'longtask', buffered: true });
  } catch (error) {
    longTasks = null; // an engine without long-task timing
  }
  Object.defineProperty(globalThis, Symbol.for('tessarine.frames'), {
    value: () => ({ frames, intervals, longTasks }),
  });
})();
