// The start: the core made and asked what it knows; the controls wired,
// and the address shown. Where the browser test asks for them, its hooks
// are installed beside.

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

if (typeof window.dealExplorerTestHooks === 'object') installTestHooks(window.dealExplorerTestHooks);

createDealCore().then((core) => {
  start(core);
  wire();
  const { s, error } = fromSearch(location.search);
  showAddressFault(error);
  show(s, 'replace');
  performance.mark('deal-explorer-ready');
});
