// The start: the core unpacked and made, and asked what it knows; the
// controls wired, and the address shown. Where the browser test asks for
// them, its hooks are installed beside.

import createDealCore from 'deal-core';
import { ask } from './core.js';
import { $ } from './dom.js';
import { show, showAddressFault } from './fields.js';
import { choiceFields, page, update } from './page.js';
import { freshSeed, fromSearch } from './state.js';
import { installTestHooks } from './test_hooks.js';
import { wire } from './wire.js';

// What the core knows of itself, once: the facts of the one table, the
// names of the choices and the moves, and so deal's own deal, the default
// of every field.
function start(core) {
  update({ core });
  const facts = ask('explorer_facts', {});
  update({ facts });
  const defaults = { ...page.defaults, packets: facts.table.own_packets, seed: freshSeed() };
  choiceFields.forEach(([field], i) => { defaults[field] = facts.choices[i][0]; });
  update({ defaults, state: { ...defaults } });
  $('own-deal').title = `Packets ${defaults.packets}, as the program deal deals`;
}

// The core's WebAssembly, which the page holds gzipped and in base64,
// unpacked by the browser's own gzip.
async function coreBinary() {
  const packed = Uint8Array.from(atob($('core').textContent), (c) => c.charCodeAt(0));
  const unpacked = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(unpacked).arrayBuffer());
}

if (typeof window.dealExplorerTestHooks === 'object') installTestHooks(window.dealExplorerTestHooks);

coreBinary().then((wasmBinary) => createDealCore({ wasmBinary })).then((core) => {
  start(core);
  wire();
  const { s, error } = fromSearch(location.search);
  showAddressFault(error);
  show(s, 'replace');
  performance.mark('deal-explorer-ready');
}, (error) => {
  // A browser too old for the page says so, where the faults are said.
  $('error').textContent = `This browser cannot run the page's core: ${error}. A current browser can.`;
});
