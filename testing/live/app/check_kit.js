// The live check page's kit: named checks whose results go to the console and the
// page's list, and waits with time limits.
let passed = 0;
let failed = 0;
const show = (text, ok) => {
  const item = document.createElement('li');
  item.textContent = text;
  item.className = ok ? 'pass' : 'fail';
  document.getElementById('results').append(item);
};
export const check = async (name, body) => {
  try {
    await body();
    passed += 1;
    console.log(`PASS ${name}`);
    show(name, true);
  } catch (error) {
    failed += 1;
    console.error(`FAIL ${name}: ${error.message}`);
    show(`${name}: ${error.message}`, false);
  }
};
export const report = () => console.log(`live checks: ${passed} passed, ${failed} failed`);
export const equal = (actual, wanted, what) => {
  if (JSON.stringify(actual) !== JSON.stringify(wanted)) {
    throw new Error(`${what} is ${JSON.stringify(actual)}, not ${JSON.stringify(wanted)}`);
  }
};
export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
export const within = (promise, what, ms = 10000) =>
  Promise.race([promise, sleep(ms).then(() => { throw new Error(`no ${what} within ${ms} ms`); })]);
export const once = (target, name) => new Promise((resolve) => target.addEventListener(name, resolve, { once: true }));
// Resolves once the viewport has the size (the host resizes it from outside).
export const viewport = async (width, height) => {
  for (let waited = 0; innerWidth !== width || innerHeight !== height; waited += 50) {
    if (waited > 10000) throw new Error(`viewport is ${innerWidth}x${innerHeight}, not ${width}x${height}`);
    await sleep(50);
  }
};
