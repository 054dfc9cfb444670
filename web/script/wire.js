// The wiring: every control, the keys, the address as history and the
// window's size, each to what it does.

import { copyText } from './clipboard.js';
import { finishDealing, onPhone, startDealing, stopDealing } from './dealt.js';
import { $ } from './dom.js';
import { draw } from './draw.js';
import {
  applyFields, applyValues, describeSpeed, fillChoices, goTo, setReady, show, showAddressFault, startPlaying,
  step, stopPlaying, textFields, togglePlay, ui, wireField,
} from './fields.js';
import { wireGroup } from './group.js';
import { onKey } from './keys.js';
import { drawLandscape, settled, wireLandscape } from './landscape.js';
import { drawMixing } from './mixing.js';
import { page, update } from './page.js';
import { wirePicking } from './picking.js';
import { setPresenting } from './presenting.js';
import { savePicture } from './save.js';
import { wireSolver } from './solver.js';
import { freshSeed, fromSearch, periodMinusOne } from './state.js';

export function wire() {
  fillChoices();
  $('controls').addEventListener('submit', (event) => event.preventDefault());
  for (const name of textFields) wireField(ui[name]);
  for (const name of ['rest', 'firstCard', 'bottomHand']) ui[name].addEventListener('change', applyFields);
  wireSolver();
  wireGroup();
  $('new-seed').addEventListener('click', () => applyValues({ seed: freshSeed() }));
  $('own-deal').addEventListener('click', () => applyValues({
    packets: page.defaults.packets, routine: '', deck: '', cards: null, rest: page.defaults.rest,
    firstCard: page.defaults.firstCard, bottomHand: page.defaults.bottomHand,
    hands: Math.min(page.state.hands, page.facts.table.max_hands) }));
  // A button applies what a field holds before it does its own work.
  const thenRound = (work) => () => {
    if (page.dealing) return;
    if (ui.round.value.trim() !== page.state.round.toString() && !applyFields()) return;
    stopPlaying();
    work();
  };
  $('previous').addEventListener('click', thenRound(() => step(-1)));
  $('next').addEventListener('click', thenRound(() => step(1)));
  $('first').addEventListener('click', thenRound(() => goTo(0n)));
  $('last').addEventListener('click', thenRound(() => goTo(periodMinusOne())));
  ui.play.addEventListener('click', () => {
    if (page.dealing || (ui.round.value.trim() !== page.state.round.toString() && !applyFields())) return;
    togglePlay();
  });
  ui.speed.addEventListener('input', () => {
    describeSpeed();
    if (page.playing !== null) { clearInterval(page.playing); startPlaying(); }
  });
  $('deal-round').addEventListener('click', () => (page.dealing ? finishDealing() : startDealing()));
  ui.playing.addEventListener('change', () => show({ ...page.state, faces: ui.playing.checked }, 'push'));
  $('from-top').addEventListener('change', () => show({ ...page.state, fromTop: $('from-top').checked }, 'push'));
  for (const input of document.querySelectorAll('input[name="view"], input[name="color"]')) {
    input.addEventListener('change', () => {
      stopDealing();
      show({ ...page.state, [input.name]: input.value }, 'push');
    });
  }
  wirePicking();
  document.addEventListener('keydown', onKey);
  // A button pressed by Space acts when the key comes up: while dealing,
  // Space has already paused or played.
  document.addEventListener('keyup', (event) => {
    if (page.dealing && event.key === ' ' && event.target instanceof HTMLButtonElement) event.preventDefault();
  });
  window.addEventListener('popstate', () => {
    stopPlaying();
    stopDealing();
    const { s, error } = fromSearch(location.search);
    showAddressFault(error);
    show(s, null);
  });
  // On a phone the deal's fields start folded; wider, they cannot fold.
  $('fold').open = !onPhone();
  window.addEventListener('resize', () => {
    if (!onPhone()) $('fold').open = true;
    if (page.resizeQueued) return;
    update({ resizeQueued: true });
    requestAnimationFrame(() => {
      update({ resizeQueued: false });
      if (page.dealing) return;
      setReady(false);
      draw(true);
      drawLandscape();
      drawMixing();
      setReady(settled());
    });
  });
  $('present').addEventListener('click', () => setPresenting(!page.presenting));
  $('save').addEventListener('click', () => savePicture('png'));
  $('save-svg').addEventListener('click', () => savePicture('svg'));
  $('copy').addEventListener('click', () => copyText(`${$('listing').textContent}\n`, $('copy'), 'Copy'));
  $('copy-gap').addEventListener('click', () => copyText(`${page.model.gap}\n`, $('copy-gap'), 'Copy'));
  $('copy-link').addEventListener('click', () => copyText(location.href, $('copy-link'), 'Copy link'));
  wireLandscape();
  describeSpeed();
}
