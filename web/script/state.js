// The deal shown and the address that holds the view: what the core takes,
// and how a state is written into the address and read back from it.

import { ask, dealFields, faceUpMask, roundFields } from './core.js';
import { choiceFields, page, update } from './page.js';

export const dealKey = (s) =>
  [s.hands, s.packets, s.cards, s.rest, s.firstCard, s.bottomHand, s.routine, s.deck, s.seed].join('|');

// A seed for a routine's moves by chance, 0 to 2^64 - 1, drawn afresh: the
// address keeps it, so that the same address deals the same decks.
export const freshSeed = () => crypto.getRandomValues(new BigUint64Array(1))[0].toString();

// The first fault of the deal of `s`, as {field, message}, or null.
export function checkDeal(s) {
  return ask('explorer_check', dealFields(s)).fault;
}

// A deal whose fields, read as text, the core has taken, with its numbers.
export const withNumbers = (d) => ({ ...d, hands: Number(d.hands), cards: d.cards === null ? null : Number(d.cards) });

// Makes the model the round of `s`, whose deal the core takes: the core's
// answer, kept while the deal is shown, for the rows to be asked of it.
export function learn(s) {
  const key = dealKey(s);
  if (page.learnt === key) return;
  const model = ask('explorer_deal', dealFields(s), true);
  if (page.model) page.model.release();
  update({
    learnt: key,
    model: Object.assign(model, {
      cycles: model.census.reduce((n, [, count]) => n + count, 0),
      // What the programs take as COUNT: the hand count, or a routine's deck.
      count: model.routine ? model.size : s.hands,
      colors: { ...model.colors, followed: page.facts.followedColors },
    }),
  });
}

// ---- round numbers and cards --------------------------------------------------

// A round number, as deal-after takes it, for the deal and card of `s`.
export function parseRound(text, s = page.state) {
  text = text.trim();
  const fault = ask('explorer_check', { ...dealFields(s), ...roundFields(s), round: text }).round;
  if (fault) return { error: `Round: ${fault}.` };
  return { value: BigInt(text) };
}

// Where the cards typed start: `field` names what the core reads, one card
// ('card') or a list of them separated by commas ('card-list'), each by its
// number or, for a pack, its name (AS, 10d, Q♥), as the programs read them,
// against the deck of `s`. The positions, or the fault.
function readCards(field, text, s) {
  const answer = ask('explorer_check', { ...dealFields(s), [field]: text });
  return answer[field] ? { error: answer[field] } : { positions: Array.from(answer.followed) };
}

// A card as --where takes one. Its fault is said as the field `field` says
// it, `then` what else may be typed there.
export function parseCard(text, s = page.state, field = 'Follow card', then = '; or leave it empty.') {
  text = text.trim();
  if (text === '') return { value: null };
  const read = readCards('card', text, s);
  return read.error ? { error: `${field}: ${read.error}${then}` } : { value: read.positions[0] };
}

// Up to a few cards, separated by commas, each trimmed: the first followed
// as the one card is, the others beside it, a card given twice followed
// once.
export function parseCards(text, s = page.state) {
  const most = page.facts.table.most_followed;
  const parts = text.split(',').map((part) => part.trim());
  if (parts.length === 1 && parts[0] === '') return { value: null, more: [] };
  if (parts.some((part) => part === '')) {
    return { error: 'Follow card: a card between every two commas; or leave it empty.' };
  }
  if (parts.length > most) return { error: `Follow card: at most ${most} cards, separated by commas.` };
  const read = readCards('card-list', parts.join(','), s);
  if (read.error) return { error: `Follow card: ${read.error}; or leave it empty.` };
  const cards = [...new Set(read.positions)];
  return { value: cards[0], more: cards.slice(1) };
}

export function shorten(text, most) {
  return text.length <= most ? text : `${text.slice(0, most - 1)}…`;
}

// The round before the deck comes back, as a number. With a chosen pile,
// the deck need never come back: the last round before the followed card's
// positions repeat.
export const periodMinusOne = () => (page.trick
  ? BigInt(page.rows.tail + page.rows.length - 1)
  : BigInt(page.model.period) - 1n);

// ---- the address ------------------------------------------------------------

export function toSearch(s) {
  const params = new URLSearchParams();
  if (s.routine.trim() !== '') params.set('routine', s.routine.trim());
  else params.set('hands', String(s.hands));
  params.set('round', s.round.toString());
  if (s.packets !== page.defaults.packets) params.set('packets', s.packets);
  if (s.cards !== null) params.set('cards', String(s.cards));
  if (s.deck.trim() !== '') params.set('deck', s.deck.trim());
  if (page.model && page.model.chance) params.set('seed', s.seed);
  for (const [field, name] of choiceFields) {
    if (s[field] !== page.defaults[field]) params.set(name, s[field]);
  }
  if (s.view !== page.defaults.view) params.set('view', s.view);
  if (s.color !== page.defaults.color) params.set('color', s.color);
  // The card itself, which a stack may start anywhere.
  if (s.card !== null) {
    params.set('card', [s.card, ...s.more].map((c) => String(page.model.numbers[c] & faceUpMask)).join(','));
  }
  if (s.faces) params.set('faces', '1');
  if (s.fromTop) params.set('from-top', '1');
  if (s.across !== page.defaults.across) params.set('landscape', s.across);
  // Commas and semicolons read better in an address than %2C and %3B, and
  // mean the same there.
  return `?${params.toString().replace(/%2C/g, ',').replace(/%3B/g, ';')}`;
}

// The state an address names. What it gets wrong is said, and the whole deal
// falls back to the default, so that what is shown is always one deal.
export function fromSearch(search) {
  const params = new URLSearchParams(search);
  const s = { ...page.defaults };
  let error = '';
  const deal = { ...page.defaults };
  if (params.has('hands')) deal.hands = params.get('hands');
  if (params.has('packets')) deal.packets = params.get('packets');
  if (params.has('cards')) deal.cards = params.get('cards');
  if (params.has('routine')) deal.routine = params.get('routine');
  if (params.has('deck')) deal.deck = params.get('deck');
  if (params.has('seed')) deal.seed = params.get('seed');
  for (const [field, name] of choiceFields) {
    if (params.has(name)) deal[field] = params.get(name);
  }
  const fault = checkDeal(deal);
  if (fault) error = `${fieldLabel(fault.field)}: ${fault.message}.`;
  else Object.assign(s, withNumbers(deal));
  if (params.get('view') === 'map') s.view = 'map';
  if (params.get('color') === 'cycle') s.color = 'cycle';
  if (params.get('faces') === '1') s.faces = true;
  if (params.get('from-top') === '1') s.fromTop = true;
  if (params.get('landscape') === 'cards') s.across = 'cards';
  if (params.has('card')) {
    const card = parseCards(params.get('card'), s);
    if (card.error) error = error || card.error; else Object.assign(s, { card: card.value, more: card.more });
  }
  if (params.has('round')) {
    const round = parseRound(params.get('round'), s);
    if (round.error) error = error || round.error; else s.round = round.value;
  }
  return { s, error };
}

export function fieldLabel(field) {
  const label = document.querySelector(`label[for="${field}"]`);
  return label ? label.textContent : field;
}
