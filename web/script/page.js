// Everything the page holds, in one object that update() alone changes:
// what is shown, what the core answered for it, and what the controls and
// the views are doing.

import { screenContext } from './dom.js';

// The deal's fields by the names of the programs' options; `cards` is null
// for the default deck, every hand's packets. The packets, the three
// choices and the seed are filled in by start(), from the core, as the
// page's defaults.
const unset = {
  hands: 4, round: 0n, packets: null, cards: null, rest: null, firstCard: null,
  bottomHand: null, routine: '', deck: '', view: 'rows', color: 'start', card: null, faces: false, across: 'hands',
  fromTop: false, more: [], seed: '',
};
// The three choices: the state's name, and the option's, which the address
// and the field take.
export const choiceFields = [['rest', 'rest'], ['firstCard', 'first-card'], ['bottomHand', 'bottom-hand']];

export const page = {
  core: null, // the core's module
  facts: null, // what the core says of itself: the table of facts, names, moves
  defaults: unset, // the view of an address that names nothing
  state: { ...unset }, // the view, as the address holds it
  shown: null, // the state last drawn
  model: null, // what the core says of the round of the deal shown, kept
  learnt: '', // that deal's key
  rows: null, // the rows drawn, as the core gave them, kept until replaced
  trick: false, // whether the rows follow a card through chosen piles
  faults: new Map(), // each field with a fault: its message
  addressFault: '', // what an address read afresh got wrong
  playing: null, // the timer while playing
  dealing: null, // a round dealt on screen, as it goes
  dealtDrawn: null, // where each card of the round dealt was last drawn, and how wide each label
  dealtFrames: null, // the time between the frames of the last round dealt, which the test hooks tell
  presenting: false, // the picture alone, for a room
  presentRows: false, // presenting the rows where the deck alone would be
  returnTo: null, // where the reader was before presenting: the scroll and the focus
  box: null, // the canvas's size
  theme: null, // the page's colors, read once a drawing
  view: null, // what is drawn now, for pointing and saving
  hover: null, // the card pointed at
  hoverAt: null, // and where, [row, position]
  notice: '', // a word on what a click could not do, until the next view
  cursor: null, // the keyboard's place on the picture while picking a card
  faceFont: 0, // the size of the names last drawn on faces
  sprites: new Map(), // looks drawn once and copied: each an image, its size, what drawing it said
  landscape: null, // the landscape's points and layout
  landscapeCursor: null, // the count the landscape is read at
  mixing: null, // the mixing curve's deck size and distances
  mixingQueued: false, // the curve asked for after the next paint
  found: null, // the routine the solver found
  receiving: null, // the field the move buttons add to
  paintQueued: false, // a repaint asked for the next frame
  resizeQueued: false, // a drawing asked for after the window's size changed
  ctx: screenContext, // where the views draw: the canvas, or a recorder that writes SVG
};

// The one way the state changes.
export function update(changes) {
  Object.assign(page, changes);
}

