// A round dealt before the eyes, for decks small enough to follow: the cards
// leave the top of the deck one at a time into the hands laid out side by
// side, pass after pass, and the hands are gathered in order into the new
// deck, which then becomes the next round. Every step is a card (or, where
// motion is to be reduced, a whole pass) and then a hand gathered; each
// card's places come from the core's deal, none is worked out here.

let dealing = null;
const reducedMotion = matchMedia('(prefers-reduced-motion: reduce)');

// Whether the deck of the state can be dealt on screen.
const dealable = () => model.size > 0 && model.size <= limits.maxDealtCards &&
  model.hands <= limits.maxDealtCards;

// The places of the cards at every step: steps[s][card] is {area, slot,
// hand}, area 'deck', 'hand' or 'new'.
function dealSteps() {
  const size = model.size;
  const deck = Array.from(core.HEAP32.subarray(view.deck, view.deck + size));
  const places = deck.map((card, p) => ({ card, area: 'deck', slot: p, position: p }));
  const steps = [places.map((q) => ({ ...q }))];
  const labels = ['the deck of this round'];
  const held = new Array(model.hands).fill(0);
  const whole = reducedMotion.matches;
  for (let i = 0; i < model.dealt; ++i) {
    const p = size - 1 - i;
    const hand = model.order[i];
    Object.assign(places[p], { area: 'hand', hand, slot: held[hand]++ });
    // A whole pass at once where motion is reduced: one still step a pass.
    if (!whole || i + 1 === model.dealt || model.passes[i + 1] !== model.passes[i]) {
      steps.push(places.map((q) => ({ ...q })));
      labels.push(whole ? `pass ${model.passes[i] + 1} dealt`
        : `card ${deck[p]} to hand ${hand} (pass ${model.passes[i] + 1})`);
    }
  }
  // Gathered from the bottom of the new deck up: each hand, and the stock,
  // in the order of the lowest place its cards take.
  const groups = new Map();
  for (let p = 0; p < size; ++p) {
    const key = places[p].area === 'hand' ? `hand ${places[p].hand}` : 'the rest';
    if (!groups.has(key)) groups.set(key, []);
    groups.get(key).push(p);
  }
  const order = [...groups.entries()].sort((a, b) =>
    Math.min(...a[1].map((p) => model.goesTo[p])) - Math.min(...b[1].map((p) => model.goesTo[p])));
  for (const [name, positions] of order) {
    for (const p of positions) Object.assign(places[p], { area: 'new', slot: model.goesTo[p] });
    steps.push(places.map((q) => ({ ...q })));
    labels.push(`${name} gathered`);
  }
  return { steps, labels };
}

// Where a place is on the canvas: the deck along the top, the hands side by
// side below it, each card a little lower than the one before so that its
// face shows, and the new deck along the bottom. Cards are as large as the
// width and the height both allow.
function dealLayout(b) {
  const size = model.size;
  const left = 16, right = 16;
  const width = b.width - left - right;
  const held = new Array(model.hands).fill(0);
  for (const hand of model.order) ++held[hand];
  const most = Math.max(1, ...held);
  // The height, in card heights: a row for the deck and one for the new
  // deck, a hand's cards each 0.55 of one below the last, and 110 pixels of
  // labels and gaps.
  const tall = Math.min(60, (b.height - 110) / (2 + 1 + 0.55 * (most - 1)));
  const cell = Math.min(48, width / size);
  const h = Math.max(12, Math.min(cell * 1.3, tall));
  const card = { w: Math.max(6, Math.min(cell * 0.86, h / 1.3)), h };
  const deckY = 26 + card.h / 2, newY = b.height - card.h / 2 - 10;
  const handsTop = deckY + card.h / 2 + 34;
  const step = card.h * 0.55;
  const column = width / model.hands;
  return {
    left, card, deckY, newY, handsTop, column,
    at(place) {
      if (place.area === 'deck' || place.area === 'new') {
        return { x: left + (place.slot + 0.5) * (width / size), y: place.area === 'deck' ? deckY : newY };
      }
      return { x: left + (place.hand + 0.5) * column, y: handsTop + card.h / 2 + place.slot * step };
    },
  };
}

function startDealing() {
  if (dealing || !dealable() || state.view !== 'rows') return;
  stopPlaying();
  const { steps, labels } = dealSteps();
  dealing = { steps, labels, step: 0, from: 0, started: performance.now(), playing: true, frames: [] };
  setReady(false);
  $('deal-round').textContent = 'Finish';
  $('deal-round').setAttribute('aria-pressed', 'true');
  $('caption').textContent = `Dealing round ${state.round}: the cards leave the top of the deck one ` +
    'at a time into the hands, pass after pass; then the hands are gathered, in order, into the ' +
    `deck of round ${state.round + 1n}. Finish (or D) deals the rest at once.`;
  canvas.setAttribute('aria-label', `Round ${state.round} being dealt into ${model.hands} hands.`);
  dealFrame();
}

// Milliseconds a step takes, by the speed chosen.
const stepTime = () => (reducedMotion.matches ? 900 : 520) * 0.72 ** (Number($('speed').value) - 1);

function dealFrame() {
  if (!dealing) return;
  const now = performance.now();
  const d = dealing;
  const duration = stepTime();
  let t = reducedMotion.matches ? 1 : Math.min(1, (now - d.started) / duration);
  if (d.playing && now - d.started >= duration) {
    if (d.step + 1 >= d.steps.length) { finishDealing(); return; }
    d.from = d.step;
    d.step += 1;
    d.started = now;
    t = reducedMotion.matches ? 1 : 0;
  }
  paintDeal(t);
  if (d.lastFrame !== undefined) d.frames.push(now - d.lastFrame);
  d.lastFrame = now;
  // Paused with every card in place, nothing moves: no frame is asked for
  // until a key moves it on.
  d.idle = !d.playing && t >= 1;
  if (d.idle) d.lastFrame = undefined; else requestAnimationFrame(dealFrame);
}

function wake() {
  if (dealing && dealing.idle) {
    dealing.idle = false;
    requestAnimationFrame(dealFrame);
  }
}

// Eases a card from its place at the step before to its place now.
function paintDeal(t) {
  const d = dealing;
  const b = fitCanvas(false);
  const layout = dealLayout(b);
  ctx.setTransform(b.ratio, 0, 0, b.ratio, 0, 0);
  ctx.clearRect(0, 0, b.width, b.height);
  ctx.font = labelFont;
  ctx.textAlign = 'left';
  ctx.textBaseline = 'middle';
  ctx.fillStyle = theme.muted;
  ctx.fillText(`Round ${state.round}: the deck, bottom (left) to top (right); cards are dealt from the top`, layout.left, 12);
  ctx.fillText(`The hands, hand 0 on the left, each card below the one before`, layout.left, layout.handsTop - 14);
  ctx.fillText(`Round ${state.round + 1n}: the hands gathered, bottom (left) to top`, layout.left, layout.newY - layout.card.h / 2 - 12);
  const ease = (x) => (x < 0.5 ? 2 * x * x : 1 - (-2 * x + 2) ** 2 / 2);
  const e = ease(t);
  const before = d.steps[d.from], now = d.steps[d.step];
  const colors = model.colors[state.color];
  // A pile from its first card to its last, each over the one before, so
  // that every face shows; cards on the move last, over everything.
  const rank = (p) => (moved(before[p], now[p]) ? 1e6 : 0) + (now[p].area === 'hand' ? now[p].slot : 0);
  const order = [...now.keys()].sort((a, b) => rank(a) - rank(b));
  for (const p of order) {
    const a = layout.at(before[p]), z = layout.at(now[p]);
    const x = a.x + (z.x - a.x) * e, y = a.y + (z.y - a.y) * e;
    paintDealtCard(now[p].card, x, y, layout.card, colors[now[p].card]);
  }
  $('info').textContent = `Dealing round ${state.round}, step ${d.step} of ${d.steps.length - 1}: ` +
    `${d.labels[d.step]}. Right steps, Space ${d.playing ? 'pauses' : 'plays'}, Escape stops.`;
}

const moved = (a, b) => a.area !== b.area || a.slot !== b.slot;

function paintDealtCard(card, x, y, shape, color) {
  const w = shape.w, h = shape.h;
  ctx.beginPath();
  roundedRect(x - w / 2, y - h / 2, w, h, Math.max(2, w * 0.12));
  ctx.fillStyle = theme.dark ? '#f2f0ea' : '#ffffff';
  ctx.fill();
  ctx.lineWidth = 1.5;
  ctx.strokeStyle = rgbaCss(color);
  ctx.stroke();
  ctx.fillStyle = rgbaCss(color);
  const band = Math.max(3, h * 0.14);
  ctx.fillRect(x - w / 2 + 1, y - h / 2 + 1, w - 2, band);
  // The face near the card's top, where it shows in a fanned pile.
  const face = facesShown() ? playingCard(card) : { text: String(card), red: false };
  const size = Math.max(8, Math.min(14, w * 0.42, h * 0.26));
  ctx.font = font(size);
  ctx.textAlign = 'center';
  ctx.textBaseline = 'middle';
  ctx.fillStyle = face.red ? '#c0262d' : '#1c1b22';
  ctx.fillText(face.text, x, y - h / 2 + band + size * 0.7);
}

// One step on, the move before it done.
function dealStep() {
  const d = dealing;
  d.playing = false;
  if (d.step + 1 >= d.steps.length) { finishDealing(); return; }
  d.from = d.step;
  d.step += 1;
  d.started = performance.now() - stepTime();
  wake();
}

function toggleDealing() {
  dealing.playing = !dealing.playing;
  dealing.started = performance.now();
  wake();
}

// The new deck is the next round: the address follows.
function finishDealing() {
  const frames = dealing.frames;
  endDealing();
  window.dealExplorer.dealFrames = frames;
  step(1, 'push');
}

function stopDealing() {
  if (!dealing) return;
  endDealing();
  draw();
  setReady(true);
}

function endDealing() {
  dealing = null;
  $('deal-round').innerHTML = 'Deal<span class="wide"> this round<\/span>';
  $('deal-round').setAttribute('aria-pressed', 'false');
}
