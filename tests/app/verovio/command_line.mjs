// The one way each script here runs as a command: its main, given the arguments, answers the
// exit status; an error ends the command with one line on the standard error and status 1.
import {pathToFileURL} from 'node:url';

// Runs main when the module of importMeta is the script node was started with.
export function runAsCommand(importMeta, name, main) {
    if (importMeta.url !== pathToFileURL(process.argv[1]).href) return;
    Promise.resolve()
        .then(() => main(process.argv.slice(2)))
        .then(
            (status) => {
                process.exitCode = status;
            },
            (error) => {
                console.error(`${name}: ${error.message}`);
                process.exitCode = 1;
            });
}
