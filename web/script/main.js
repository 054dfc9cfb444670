// The start: the core is made, its limits read, the controls wired, and the
// address shown. A few timings are kept for the browser test to report.

// Timings for the benchmark: the mean of `times` runs, in milliseconds.
function measure(times, run) {
  const start = performance.now();
  for (let i = 0; i < times; ++i) run(i);
  return (performance.now() - start) / times;
}

window.dealExplorer = {
  readyAt: null,
  landscapeMs: null,
  dealFrames: null,
  // Where, in the canvas's CSS pixels, the rows view shows `position` of
  // row `row`: for tests that point at a card.
  pointOf: (row, position) => (view.kind === 'rows' ? { x: view.x(position), y: view.y(row) } : null),
  // A step as the Right arrow makes it: the deck computed and drawn.
  timeStep: (times) => measure(times, () => step(1, 'replace')),
  // A jump as far as the core goes: the round number reduced, the deck
  // put in order and its listing made.
  timeJump: (round, times) => measure(times, () => {
    core._explorer_parse_round(putText(round));
    core._explorer_rows(1);
    return core.UTF8ToString(core._explorer_listing());
  }),
  // The same jump with the whole view drawn.
  timeJumpDrawn: (round, times) => measure(times, (i) => show({ ...state, round: BigInt(round) + BigInt(i & 1) }, 'replace')),
  // Where, in the landscape's CSS pixels, count `n` is: for tests that click it.
  landscapePointOf: (n) => ({ x: landscape.x(n), y: landscape.m.top + landscape.plotH / 2 }),
  // What Save PNG and Save SVG write: the file's name, and its bytes.
  savedName: (kind) => pictureName(kind),
  svg: () => svgOfView(),
  png: () => new Promise((resolve) => pngOfView((blob) => blob.arrayBuffer().then((b) => resolve(Array.from(new Uint8Array(b)))))),
  // The size of the names on the faces last drawn, in CSS pixels.
  faceFont: () => faceFont,
  // The least contrast with the canvas of any card's dot, by its fill or its
  // outline, in the colors and the theme shown.
  dotContrast: () => Math.min(...Array.from(model.colors[state.color], (color) => {
    const outline = outlineOf(color);
    return Math.max(contrast(color, theme.canvasColor), outline ? contrast(cssColor(outline), theme.canvasColor) : 1);
  })),
  // The landscape of the deal shown, computed afresh.
  timeLandscape: (times) => measure(times, () => { landscape = null; computeLandscape(); }),
};

createDealCore().then((module) => {
  core = module;
  readLimits();
  wire();
  const { s, error } = fromSearch(location.search);
  showAddressFault(error);
  show(s, 'replace');
  window.dealExplorer.readyAt = performance.now();
});
