// Stacks of one's own, kept in this browser under names, as the programs
// keep them in the user's data folder: a name typed into the Deck field
// stands for the stack saved under it, after the stacks the core knows by
// name; and the address holds the name and the cards both, so that a link
// carries the stack to another browser, which keeps it too.

import { ask } from './core.js';
import { $ } from './dom.js';

const storeKey = 'deal-explorer-stacks';

// Every stack kept, by name: the cards as the Deck field takes them. A
// browser that keeps nothing (storage off, a private window full) has none.
export function savedStacks() {
  try {
    const kept = JSON.parse(localStorage.getItem(storeKey) || '{}');
    return kept !== null && typeof kept === 'object' && !Array.isArray(kept) ? kept : {};
  } catch {
    return {};
  }
}

// Keeps `stacks`; whether the browser took them.
function keep(stacks) {
  try {
    localStorage.setItem(storeKey, JSON.stringify(stacks));
    return true;
  } catch {
    return false;
  }
}

// What is wrong with `name` as a stack's name, as the programs take one
// (one word, no card, no stack of their own), or ''.
export const nameFault = (name) => ask('explorer_check', { 'stack-name': name })['stack-name'];

// The cards of the stack kept as `name`, or null: only a word that can name
// a stack, so that a card or the core's own stacks are never shadowed.
export function stackCards(name) {
  const stacks = savedStacks();
  return Object.prototype.hasOwnProperty.call(stacks, name) && typeof stacks[name] === 'string' && nameFault(name) === ''
    ? stacks[name] : null;
}

// What the Deck field holds, as the core takes it: a name kept stands for
// its cards. The cards, and the name they were found by ('' for none).
export function typedDeck(typed) {
  const cards = stackCards(typed);
  return cards === null ? { deck: typed, stack: '' } : { deck: cards, stack: typed };
}

// Keeps the cards `deck` as `name`, over any kept so before; what is wrong,
// or ''.
export function saveStack(name, deck) {
  const fault = nameFault(name);
  if (fault) return fault;
  if (deck.trim() === '') return 'type the cards into the Deck field first, such as KH QH JH or AS..8D';
  const stacks = savedStacks();
  stacks[name] = deck.trim();
  return keep(stacks) ? '' : 'this browser keeps nothing for the page: the address still holds the stack';
}

// Forgets the stack kept as `name`.
export function forgetStack(name) {
  const stacks = savedStacks();
  delete stacks[name];
  keep(stacks);
}

// A stack an address carries, kept where this browser keeps none by that
// name; the name it is shown by, or '' where another stack has that name.
export function keepArrived(name, deck) {
  const kept = stackCards(name);
  if (kept === deck) return name;
  if (kept !== null || saveStack(name, deck) !== '') return '';
  return name;
}

// The names kept, offered as the Deck field is typed, and the button that
// forgets the stack shown.
export function listStacks(shown) {
  const names = Object.keys(savedStacks()).filter((name) => stackCards(name) !== null).sort();
  $('stack-list').replaceChildren(...names.map((name) => Object.assign(document.createElement('option'), { value: name })));
  $('forget-stack').hidden = shown === '';
  $('forget-stack').title = shown === '' ? '' : `Forget the stack kept as ${shown} in this browser`;
}
