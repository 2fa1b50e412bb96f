// Makes try.html, one file that needs nothing beside it: the page (try.html here), its script
// (try_page.js), notavo-sim built for the browser (its JavaScript, and its WebAssembly in
// base64) and the extension's side module (in base64), which the page writes into the
// program's files before the program loads it with dlopen. The program's WebAssembly is handed
// to it as bytes, so that it fetches nothing, not even a data: address.
// Usage: node make_page.js PROGRAM.js PROGRAM.wasm MODULE.nxt OUTPUT.html
'use strict';
const fs = require('fs');
const path = require('path');

const [programJs, programWasm, sideModule, output] = process.argv.slice(2);
if (!output) {
  console.error('usage: node make_page.js PROGRAM.js PROGRAM.wasm MODULE.nxt OUTPUT.html');
  process.exit(2);
}
// Text inside a <script> element ends at the first "</script"; the program's JavaScript must
// not hold one.
const script = (file) => {
  const text = fs.readFileSync(file, 'utf8');
  if (/<\/script/i.test(text)) throw new Error(file + ' holds "</script", which would end the page\'s script');
  return text;
};
const parts = {
  '@MODULE@': fs.readFileSync(sideModule).toString('base64'),
  '@PROGRAM_WASM@': fs.readFileSync(programWasm).toString('base64'),
  '@PROGRAM_JS@': script(programJs),
  '@PAGE_JS@': script(path.join(__dirname, 'try_page.js')),
};
let page = fs.readFileSync(path.join(__dirname, 'try.html'), 'utf8');
for (const [marker, text] of Object.entries(parts)) {
  const pieces = page.split(marker);
  if (pieces.length !== 2) throw new Error('web/try.html must hold ' + marker + ' once');
  page = pieces.join(text);
}
fs.mkdirSync(path.dirname(output), {recursive: true});
fs.writeFileSync(output + '.tmp', page);
fs.renameSync(output + '.tmp', output);
