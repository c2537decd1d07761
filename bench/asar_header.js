// The peer's archive open: reading and parsing an asar header, as Electron does
// when it opens an archive. Prints {"files", "asar_us"} (median of the runs).
'use strict';
const asar = require('@electron/asar');

const [archive, runsText] = process.argv.slice(2);
const runs = Number(runsText);
const times = [];
let header = null;
for (let i = 0; i < runs; i++) {
  const start = process.hrtime.bigint();
  header = asar.getRawHeader(archive).header;
  times.push(Number(process.hrtime.bigint() - start) / 1000);
}
times.sort((a, b) => a - b);

function countFiles(node) {
  let count = 0;
  for (const child of Object.values(node.files || {})) count += child.files ? countFiles(child) : 1;
  return count;
}
console.log(JSON.stringify({ files: countFiles(header), asar_us: times[Math.floor(times.length / 2)] }));
