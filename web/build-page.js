// Makes the explorer page, one HTML file that needs no other: the styles
// and the script, each minified by esbuild, the script's modules bundled
// with Emscripten's loader of the core, and the core's WebAssembly, gzipped,
// in base64, for the page to unpack with the browser's own gzip.
//
//   node build-page.js --source web --core deal-explorer-core.js
//                      --wasm core.wasm.gz --version 1.4.0 --output page.html
//
// The same sources make the same page, byte for byte: the published copy is
// held to it.
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { parseArgs } from 'node:util';
import * as esbuild from 'esbuild';

const { values: options } = parseArgs({
  options: {
    source: { type: 'string' }, core: { type: 'string' }, wasm: { type: 'string' },
    version: { type: 'string' }, output: { type: 'string' },
  },
});
for (const name of ['source', 'core', 'wasm', 'version', 'output']) {
  if (options[name] === undefined) throw new Error(`build-page.js: --${name} is missing`);
}

// Browsers of the last few years; the script's syntax is lowered to theirs.
const target = ['chrome100', 'firefox100', 'safari15'];

// Emscripten's loader of the core, a module whose default export makes the
// core, as the script imports it: by the name 'deal-core'.
const coreLoader = {
  name: 'deal-core',
  setup(build) {
    build.onResolve({ filter: /^deal-core$/ }, () => ({ path: resolve(options.core) }));
  },
};

const script = await esbuild.build({
  entryPoints: [join(options.source, 'script', 'main.js')],
  bundle: true, minify: true, format: 'iife', target, charset: 'utf8', legalComments: 'none',
  write: false, logLevel: 'warning', plugins: [coreLoader],
  // The loader names its WebAssembly by a file beside its own, which the
  // page is: the page hands it the bytes, and nothing is fetched.
  define: { 'import.meta.url': 'document.baseURI' },
});
const style = await esbuild.transform(readFileSync(join(options.source, 'explorer.css'), 'utf8'), {
  loader: 'css', minify: true, target, charset: 'utf8', logLevel: 'warning',
});
const parts = {
  script: script.outputFiles[0].text.trim(),
  style: style.code.trim(),
  core: readFileSync(options.wasm).toString('base64'),
};
// Each part stays inside its element: nothing in it may end the element, or
// start a comment that the HTML parser would read in a script.
for (const [name, text, ending] of [['script', parts.script, /<\/script|<!--/i],
  ['style', parts.style, /<\/style/i]]) {
  if (ending.test(text)) throw new Error(`build-page.js: the ${name} holds ${ending}, which would end its element`);
}

const page = readFileSync(join(options.source, 'explorer.html'), 'utf8')
  .replaceAll('@VERSION@', options.version)
  .replace('/*@STYLE@*/', () => parts.style)
  .replace('@CORE@', () => parts.core)
  .replace('/*@SCRIPT@*/', () => parts.script);
// Written whole or not at all.
writeFileSync(`${options.output}.part`, page);
renameSync(`${options.output}.part`, options.output);
