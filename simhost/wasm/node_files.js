// Under Node, a program sees the machine's files at their own paths, as a native program does:
// each folder at the top of the real file system is mounted where it stands, beside the files
// embedded in the program (the module and its dialog resources), and the program starts in
// Node's working folder. A page in a browser has no such files and mounts nothing.
Module['preRun'] = (Module['preRun'] || []).concat(function () {
  if (typeof process !== 'object' || !process.versions || !process.versions.node) return;
  var realFs = require('fs');
  // The emulated devices stay emscripten's own.
  var kept = {dev: true, proc: true, sys: true};
  if (FS.analyzePath('/home/web_user').exists) FS.rmdir('/home/web_user');
  realFs.readdirSync('/', {withFileTypes: true}).forEach(function (entry) {
    if (!entry.isDirectory() || kept[entry.name]) return;
    var at = '/' + entry.name;
    var here = FS.analyzePath(at);
    // A folder that already holds embedded files stays as it is.
    if (here.exists && FS.readdir(at).length > 2) return;
    if (!here.exists) FS.mkdir(at);
    FS.mount(NODEFS, {root: at}, at);
  });
  FS.chdir(process.cwd());
});
