// Writes what a side module needs from the program that loads it, one name a line, as emcc's
// EXPORTED_FUNCTIONS takes them (with a leading underscore): the functions it imports, and the
// functions and data whose addresses it reads through its global offset table, less what it
// defines itself (emscripten's side modules import their own definitions too, and the loader
// binds those to the module when the program does not export them). A program linked with
// MAIN_MODULE=2 keeps only what it is told to export, so it is told exactly these.
// The program's own exports (its main) follow on the command line and are listed with them.
// Usage: node side_module_imports.js MODULE OUTPUT [NAME...]
'use strict';
const fs = require('fs');

const [modulePath, outputPath, ...own] = process.argv.slice(2);
if (!modulePath || !outputPath) {
  console.error('usage: node side_module_imports.js MODULE OUTPUT [NAME...]');
  process.exit(2);
}
const compiled = new WebAssembly.Module(fs.readFileSync(modulePath));
const defined = new Set(WebAssembly.Module.exports(compiled).map((entry) => entry.name));
const names = new Set(own);
for (const entry of WebAssembly.Module.imports(compiled)) {
  const needed = (entry.module === 'env' && entry.kind === 'function') ||
      entry.module === 'GOT.func' || entry.module === 'GOT.mem';
  if (needed && !defined.has(entry.name)) names.add('_' + entry.name);
}
const text = [...names].sort().join('\n') + '\n';
// Written only when it changes, so that the programs are linked again only then.
if (!fs.existsSync(outputPath) || fs.readFileSync(outputPath, 'utf8') !== text) {
  fs.writeFileSync(outputPath, text);
}
