// The page's own script. It only moves data: the user's file into the program's memory, the
// controls' values into a notavo-sim command line, and what the command printed and wrote back
// into the page. The program is notavo-sim itself, built for the browser (NotavoSim); it loads
// the extension with dlopen from its in-memory files and drives its dialog, as on a desktop.
'use strict';
(function () {
  const folder = '/score';  // the user's score, under its own name
  const outputs = '/out';   // what a run writes
  const modulePath = '/quor-note-spacing/QuorNoteSpacing.nxt';
  const $ = (id) => document.getElementById(id);

  const bytesOf = (id) => {
    const text = atob($(id).textContent.trim());
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  };
  const programBytes = bytesOf('program-bytes');
  const moduleBytes = bytesOf('module-bytes');

  let lines = {out: [], err: []};
  let score = null;    // {name, bytes}
  let picture = null;  // {name, bytes}
  let saved = null;    // {name, bytes}
  let compiled = null; // the program's WebAssembly, compiled once

  // A fresh program for each command line, as each notavo-sim command is a process of its own:
  // the extension, once loaded, keeps what its first host gave it until it is unloaded, and in
  // one program it never is.
  async function start() {
    if (!compiled) compiled = await WebAssembly.compile(programBytes);
    const made = await NotavoSim({
      instantiateWasm: (imports, done) => {
        WebAssembly.instantiate(compiled, imports).then((instance) => done(instance, compiled));
        return {};
      },
      print: (line) => lines.out.push(line),
      printErr: (line) => lines.err.push(line),
    });
    made.FS.writeFile(modulePath, moduleBytes);
    made.FS.mkdir(folder);
    made.FS.mkdir(outputs);
    if (score) made.FS.writeFile(folder + '/' + score.name, score.bytes);
    made.FS.chdir(folder);
    return made;
  }

  // One notavo-sim command line, in the score's folder: its exit status, the lines it printed
  // and the files it wrote.
  async function run(args) {
    lines = {out: [], err: []};
    const program = await start();
    let status;
    try {
      status = program.callMain(args);
    } catch (stopped) {
      lines.err.push('notavo-sim: the program stopped: ' + stopped);
      status = 1;
    }
    const read = (name) => {
      try {
        return program.FS.readFile(outputs + '/' + name);
      } catch (missing) {
        return null;
      }
    };
    return {status, out: lines.out, err: lines.err, read};
  }

  // The lines the command prints as it goes ("reading ...", "applying ...") are not news; any
  // other line on the standard error is a warning, or the error that ended the run.
  const progress = /^(reading |applying |setting as default |laying out )/;
  function show(result, what) {
    const said = result.err.filter((line) => !progress.test(line));
    $('error').hidden = result.status === 0;
    $('warnings').hidden = result.status !== 0 || said.length === 0;
    if (result.status !== 0) {
      $('error').textContent = said.join('\n') || 'notavo-sim ended with status ' + result.status;
      $('status').textContent = what + ': refused.';
      return false;
    }
    $('warnings').textContent = said.join('\n');
    $('status').textContent = what + '.';
    return true;
  }

  // The picture is shown inline, and downloaded as the very bytes the command wrote.
  function showPicture(bytes, name) {
    picture = {name, bytes};
    const figure = $('result');
    figure.innerHTML = new TextDecoder().decode(bytes);
    figure.hidden = false;
    $('picture').disabled = false;
  }

  function measuresArgs() {
    const measures = $('measures').value.trim();
    return measures === '' || measures.toLowerCase() === 'all' ? [] : ['--measures', measures];
  }

  const stem = () => score.name.replace(/\.[^.]*$/, '');

  // While a run works, its buttons wait. Runs are counted as they end, shown, so that whoever
  // drives the page knows when one has.
  function busy(on) {
    for (const id of ['apply', 'all']) $(id).disabled = on || !score;
    if (on) {
      $('status').textContent = 'Working\u2026';
    } else {
      document.body.dataset.runs = String(Number(document.body.dataset.runs || 0) + 1);
    }
  }

  // One press of a button: the command line run, then what it wrote shown, or its error.
  async function press(title, args, done) {
    if (!score) return;
    busy(true);
    try {
      // How long the command took (the file into the program's memory, the run, its outputs
      // read) and how long the page took to show them, kept for whoever measures the page.
      const started = performance.now();
      const result = await run(args);
      const ran = performance.now();
      document.body.dataset.commandMs = (ran - started).toFixed(1);
      if (show(result, title)) {
        done(result);
        document.body.dataset.showMs = (performance.now() - ran).toFixed(1);
      } else {
        clearResult();
      }
    } catch (error) {
      clearResult();
      show({status: 1, err: ['The page could not run the command: ' + error]}, title);
    } finally {
      busy(false);
    }
  }

  function apply() {
    const task = $('task').value;
    const args = ['--document=' + score.name, '--task', task, ...measuresArgs()];
    if ($('fixed').checked) args.push('--fixed-barlines');
    args.push('--svg', outputs + '/picture.svg', '--save', outputs + '/document.ntv');
    return press(task + ' on ' + score.name, args, (result) => {
      showPicture(result.read('picture.svg'), stem() + ' - ' + task + '.svg');
      saved = {name: stem() + ' - ' + task + '.ntv', bytes: result.read('document.ntv')};
      $('document').disabled = false;
      $('report-text').textContent = result.out.join('\n');
      $('report').hidden = false;
    });
  }

  function compareAll() {
    const args = ['--document=' + score.name, ...measuresArgs()];
    if ($('fixed').checked) args.push('--fixed-barlines');
    args.push('--compare-all', outputs + '/picture.svg');
    return press('All nine tasks on ' + score.name, args, (result) => {
      showPicture(result.read('picture.svg'), stem() + ' - all nine tasks.svg');
      // Nine runs, none of them the document to keep.
      saved = null;
      $('document').disabled = true;
      $('report').hidden = true;
    });
  }

  function clearResult() {
    picture = null;
    saved = null;
    $('result').hidden = true;
    $('result').textContent = '';
    $('report').hidden = true;
    $('picture').disabled = true;
    $('document').disabled = true;
  }

  function download(name, data, type) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([data], {type}));
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
  }

  async function open(file) {
    if (!file) return;
    clearResult();
    score = {name: file.name, bytes: new Uint8Array(await file.arrayBuffer())};
    await apply();
  }

  // The tasks as the dialog lists them, each with the description it shows.
  async function listTasks() {
    const result = await run(['--list-tasks']);
    if (!show(result, 'Ready')) return busy(false);
    const select = $('task');
    let option = null;
    for (const line of result.out) {
      if (line.startsWith('    ')) {
        option.dataset.description += (option.dataset.description ? '\n' : '') + line.slice(4);
      } else if (line !== '') {
        option = new Option(line, line);
        option.dataset.description = '';
        select.add(option);
      }
    }
    describe();
    $('status').textContent = 'Open a score to begin.';
    busy(false);
  }

  function describe() {
    const chosen = $('task').selectedOptions[0];
    $('description').textContent = chosen ? chosen.dataset.description : '';
  }

  $('task').addEventListener('change', describe);
  $('score').addEventListener('change', () => open($('score').files[0]));
  $('apply').addEventListener('click', () => score && apply());
  $('all').addEventListener('click', () => score && compareAll());
  $('picture').addEventListener('click', () => {
    if (picture) download(picture.name, picture.bytes, 'image/svg+xml');
  });
  $('document').addEventListener('click', () => {
    if (saved && saved.bytes) download(saved.name, saved.bytes, 'text/plain');
  });
  document.addEventListener('dragover', (event) => {
    event.preventDefault();
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    document.body.classList.remove('dragging');
    open(event.dataTransfer.files[0]);
  });
  listTasks().catch((error) => {
    $('status').textContent = 'The page could not start: ' + error;
  });
})();
