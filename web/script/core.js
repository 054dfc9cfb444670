// The one way the page talks to the core, the deal's own C++ compiled to
// WebAssembly: every number about the deal, every limit and every message
// comes from there, and the script computes nothing about the deal itself.
// Each call hands the core a request, every field the page shows, and reads
// its answer, which depends on nothing else: no call waits on another.

import { page } from './page.js';

const encoder = new TextEncoder();

// A request as the core reads it: each field's name, '=', its value's length
// in bytes, ':' and the value, so that a value may hold any byte.
function encodeRequest(fields) {
  const parts = [];
  for (const [name, value] of Object.entries(fields)) {
    if (value === undefined || value === null) continue;
    const bytes = encoder.encode(String(value));
    parts.push(encoder.encode(`${name}=${bytes.length}:`), bytes);
  }
  const request = new Uint8Array(parts.reduce((n, p) => n + p.length, 0));
  let at = 0;
  for (const part of parts) { request.set(part, at); at += part.length; }
  return request;
}

// A card in a deck the core gives has its number in these bits, and one
// above them where it lies face up.
export const faceUpMask = 0xffff;

const heaps = { i32: () => page.core.HEAP32, f32: () => page.core.HEAPF32, u32: () => page.core.HEAPU32 };
const decoder = new TextDecoder();

// The answer's JSON, its arrays as typed arrays: views into the core's
// memory while the answer is kept, copies once it is freed. A kept answer
// may be handed back to the core (its `handle`) and is freed by release().
function readAnswer(handle, keep) {
  const core = page.core;
  const value = JSON.parse(core.UTF8ToString(core._explorer_answer_text(handle)), (key, v) => {
    if (v && typeof v === 'object' && v.type === 'utf8') {
      return decoder.decode(core.HEAPU8.subarray(v.at, v.at + v.length));
    }
    if (v && typeof v === 'object' && typeof v.at === 'number' && v.type in heaps) {
      const heap = heaps[v.type]();
      const view = heap.subarray(v.at >> 2, (v.at >> 2) + v.length);
      return keep ? view : view.slice();
    }
    return v;
  });
  if (keep) {
    value.handle = handle;
    value.release = () => core._explorer_free(handle);
  } else {
    core._explorer_free(handle);
  }
  return value;
}

// Asks the core's call `call`, by its full name (explorer_rows), about
// `fields`; the answer is freed unless `keep`. Where the call answers about
// an answer kept before, that answer comes first, as `about`.
export function ask(call, fields, keep = false, about = null) {
  const core = page.core;
  const request = encodeRequest(fields);
  const at = core._malloc(Math.max(1, request.length));
  core.HEAPU8.set(request, at);
  const handle = about === null ? core[`_${call}`](at, request.length)
    : core[`_${call}`](about.handle, at, request.length);
  core._free(at);
  return readAnswer(handle, keep);
}

// The fields of a state as the core reads them: the deal's, and the round,
// the card followed and whether faces are shown where asked.
export function dealFields(s) {
  return {
    hands: String(s.hands).trim(), packets: s.packets.trim(),
    cards: s.cards === null ? '' : String(s.cards).trim(), rest: s.rest,
    'first-card': s.firstCard, 'bottom-hand': s.bottomHand, routine: s.routine, deck: s.deck,
    seed: String(s.seed).trim(),
  };
}
// The round and the card followed, by where it starts, as the rows and the
// plan of a deal take them.
export function roundFields(s) {
  return { round: s.round.toString(), followed: s.card === null ? '' : s.card };
}

// The cell lines of `rows` (a kept answer's) in `colors`, `width` pixels
// wide, handed to `use` before the answer is freed.
export function withCells(rows, count, size, colors, width, use) {
  const core = page.core;
  const palette = core._malloc(Math.max(1, size) * 4);
  core.HEAPU32.set(colors, palette >> 2);
  const answer = readAnswer(core._explorer_cells(rows.byteOffset, count, size, palette, width), true);
  core._free(palette);
  try {
    use(answer.pixels);
  } finally {
    answer.release();
  }
}
