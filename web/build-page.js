// Makes the explorer page, one HTML file that needs no other: the styles
// and the script, each minified by esbuild, the script's modules bundled
// into one, and Emscripten's loader of the core with the core's
// WebAssembly in it.
//
//   node build-page.js --source web --core deal-explorer-core.js
//                      --version 1.4.0 --output page.html
//
// The same sources make the same page, byte for byte: the published copy is
// held to it.
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { parseArgs } from 'node:util';
import * as esbuild from 'esbuild';

const { values: options } = parseArgs({
  options: {
    source: { type: 'string' }, core: { type: 'string' },
    version: { type: 'string' }, output: { type: 'string' },
  },
});
for (const name of ['source', 'core', 'version', 'output']) {
  if (options[name] === undefined) throw new Error(`build-page.js: --${name} is missing`);
}

// Browsers of the last few years; the script's syntax is lowered to theirs.
const target = ['chrome100', 'firefox100', 'safari15'];

const script = await esbuild.build({
  entryPoints: [join(options.source, 'script', 'main.js')],
  bundle: true, minify: true, format: 'iife', target, charset: 'utf8', legalComments: 'none',
  write: false, logLevel: 'warning',
});
const style = await esbuild.transform(readFileSync(join(options.source, 'explorer.css'), 'utf8'), {
  loader: 'css', minify: true, target, charset: 'utf8', logLevel: 'warning',
});
const parts = {
  script: script.outputFiles[0].text.trim(),
  style: style.code.trim(),
  core: readFileSync(options.core, 'utf8').trim(),
};
// Each part stays inside its element: nothing in it may end the element, or
// start a comment that the HTML parser would read in a script.
for (const [name, text, ending] of [['script', parts.script, /<\/script|<!--/i],
  ['core', parts.core, /<\/script|<!--/i], ['style', parts.style, /<\/style/i]]) {
  if (ending.test(text)) throw new Error(`build-page.js: the ${name} holds ${ending}, which would end its element`);
}

const page = readFileSync(join(options.source, 'explorer.html'), 'utf8')
  .replaceAll('@VERSION@', options.version)
  .replace('/*@STYLE@*/', () => parts.style)
  .replace('/*@CORE@*/', () => parts.core)
  .replace('/*@SCRIPT@*/', () => parts.script);
// Written whole or not at all.
writeFileSync(`${options.output}.part`, page);
renameSync(`${options.output}.part`, options.output);
