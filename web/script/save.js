// Saving the view as a file: a PNG of the canvas, or an SVG drawn by the
// same views into a recorder that speaks the part of the canvas's language
// they use. Either has the view's title and caption above the picture, and
// a name that says the deal and the round.

import { $, canvas, font, screenContext } from './dom.js';
import { dealWords } from './draw.js';
import { paintMap } from './map.js';
import { page, update } from './page.js';
import { paintDeck } from './presenting.js';
import { paintRows } from './rows.js';
import { shorten } from './state.js';

// The title of a saved picture: what it shows and where.
function pictureTitle() {
  const { view, state, model } = page;
  const what = view.kind === 'map' ? 'one round as a map' : `from round ${shorten(state.round.toString(), 60)}`;
  return `${dealWords()} · ${what} · period ${model.period}`;
}

// "deal-4-hands-round-17.png", the deal's options in it where they are not
// deal's own; a round too long for a file's name by its first digits and
// how many it has.
export function pictureName(kind) {
  const { view, state, model } = page;
  const options = model.options ? `-${model.options.replace(/--/g, '').replace(/[ ,]+/g, '-')}` : '';
  const round = state.round.toString();
  const digits = round.replace('-', '');
  const shown = digits.length <= 160 ? round
    : `${round.slice(0, 40)}-and-${digits.length - 40}-more-digits`;
  return `deal${options}-${state.hands}-hands-round-${shown}${view.kind === 'map' ? '-map' : ''}.${kind}`;
}

// The caption's words cut into lines of at most `width` pixels at `size`.
function wrapped(text, width, size, measure) {
  measure.font = font(size);
  const lines = [];
  let line = '';
  for (const word of text.split(' ')) {
    const next = line ? `${line} ${word}` : word;
    if (measure.measureText(next).width > width && line) {
      lines.push(line);
      line = word;
    } else {
      line = next;
    }
  }
  if (line) lines.push(line);
  return lines;
}

function headerLines(width) {
  const title = wrapped(pictureTitle(), width - 24, 16, screenContext);
  const caption = wrapped($('caption').textContent, width - 24, 12, screenContext);
  return { title, caption, height: 14 + title.length * 21 + caption.length * 16 + 8 };
}

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

export function savePicture(kind) {
  if (page.dealing) return;
  if (kind === 'svg') {
    download(new Blob([svgOfView()], { type: 'image/svg+xml' }), pictureName('svg'));
    return;
  }
  pngOfView((blob) => blob && download(blob, pictureName('png')));
}

// The canvas under its title and caption, on the page's background.
export function pngOfView(done) {
  const { view, theme } = page;
  const b = view.box;
  const head = headerLines(b.width);
  const picture = document.createElement('canvas');
  picture.width = canvas.width;
  picture.height = canvas.height + Math.round(head.height * b.ratio);
  const c = picture.getContext('2d');
  c.fillStyle = theme.canvas;
  c.fillRect(0, 0, picture.width, picture.height);
  c.scale(b.ratio, b.ratio);
  writeHeader(c, head);
  c.setTransform(1, 0, 0, 1, 0, 0);
  c.drawImage(canvas, 0, Math.round(head.height * b.ratio));
  picture.toBlob(done, 'image/png');
}

function writeHeader(c, head) {
  const theme = page.theme;
  c.textAlign = 'left';
  c.textBaseline = 'alphabetic';
  let y = 14;
  c.fillStyle = theme.ink;
  c.font = `600 ${font(16)}`;
  for (const line of head.title) { y += 21; c.fillText(line, 12, y - 4); }
  c.fillStyle = theme.muted;
  c.font = font(12);
  for (const line of head.caption) { y += 16; c.fillText(line, 12, y - 3); }
}

// ---- SVG ----------------------------------------------------------------------

const escapeXml = (text) => String(text).replace(/[&<>"]/g, (c) => ({ '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&quot;' })[c]);

// A CSS color as SVG's attributes take it: rgb() and an opacity.
function paintOf(style, alpha) {
  const m = /^rgba?\(([^)]*)\)$/.exec(style);
  if (m) {
    const [r, g, b, a = '1'] = m[1].split(',').map((v) => v.trim());
    return { color: `rgb(${r},${g},${b})`, opacity: Number(a) * alpha };
  }
  return { color: style, opacity: alpha };
}

// Records what a view draws as SVG elements, in CSS pixels.
class SvgRecorder {
  constructor() {
    this.parts = [];
    this.path = '';
    this.fillStyle = '#000';
    this.strokeStyle = '#000';
    this.lineWidth = 1;
    this.lineJoin = 'miter';
    this.font = font(12);
    this.textAlign = 'start';
    this.textBaseline = 'alphabetic';
    this.globalAlpha = 1;
    this.dash = [];
    this.matrix = [1, 0, 0, 1, 0, 0];
    this.stack = [];
  }

  point(x, y) {
    const [a, b, c, d, e, f] = this.matrix;
    return `${(a * x + c * y + e).toFixed(2)} ${(b * x + d * y + f).toFixed(2)}`;
  }

  setTransform() { this.matrix = [1, 0, 0, 1, 0, 0]; }
  save() { this.stack.push({ matrix: [...this.matrix], fillStyle: this.fillStyle, strokeStyle: this.strokeStyle, font: this.font, textAlign: this.textAlign, textBaseline: this.textBaseline }); }
  restore() { Object.assign(this, this.stack.pop()); }
  translate(x, y) {
    const [a, b, c, d, e, f] = this.matrix;
    this.matrix = [a, b, c, d, a * x + c * y + e, b * x + d * y + f];
  }
  rotate(angle) {
    const [a, b, c, d, e, f] = this.matrix;
    const cos = Math.cos(angle), sin = Math.sin(angle);
    this.matrix = [a * cos + c * sin, b * cos + d * sin, c * cos - a * sin, d * cos - b * sin, e, f];
  }
  clearRect() {}
  setLineDash(dash) { this.dash = dash; }
  measureText(text) { screenContext.font = this.font; return screenContext.measureText(text); }

  beginPath() { this.path = ''; }
  moveTo(x, y) { this.path += `M${this.point(x, y)}`; }
  lineTo(x, y) { this.path += `L${this.point(x, y)}`; }
  closePath() { this.path += 'Z'; }
  bezierCurveTo(a, b, c, d, x, y) { this.path += `C${this.point(a, b)} ${this.point(c, d)} ${this.point(x, y)}`; }
  quadraticCurveTo(a, b, x, y) { this.path += `Q${this.point(a, b)} ${this.point(x, y)}`; }
  arc(x, y, r) {
    // Whole circles are all the views draw.
    this.path += `M${this.point(x + r, y)}A${r} ${r} 0 1 0 ${this.point(x - r, y)}A${r} ${r} 0 1 0 ${this.point(x + r, y)}Z`;
  }

  fill() {
    const p = paintOf(this.fillStyle, this.globalAlpha);
    this.parts.push(`<path d="${this.path}" fill="${p.color}"${p.opacity < 1 ? ` fill-opacity="${p.opacity.toFixed(3)}"` : ''}/>`);
  }
  stroke() {
    const p = paintOf(this.strokeStyle, this.globalAlpha);
    const dash = this.dash.length ? ` stroke-dasharray="${this.dash.join(' ')}"` : '';
    this.parts.push(`<path d="${this.path}" fill="none" stroke="${p.color}" stroke-width="${this.lineWidth}"` +
      `${p.opacity < 1 ? ` stroke-opacity="${p.opacity.toFixed(3)}"` : ''} stroke-linejoin="${this.lineJoin}"${dash}/>`);
  }
  fillRect(x, y, w, h) {
    this.beginPath();
    this.moveTo(x, y); this.lineTo(x + w, y); this.lineTo(x + w, y + h); this.lineTo(x, y + h); this.closePath();
    this.fill();
  }
  strokeRect(x, y, w, h) {
    this.beginPath();
    this.moveTo(x, y); this.lineTo(x + w, y); this.lineTo(x + w, y + h); this.lineTo(x, y + h); this.closePath();
    this.stroke();
  }
  fillText(text, x, y) {
    const anchor = { center: 'middle', right: 'end', end: 'end' }[this.textAlign] || 'start';
    const baseline = { middle: 'central', top: 'hanging', bottom: 'text-after-edge' }[this.textBaseline] || 'auto';
    const [a, b, c, d, e, f] = this.matrix;
    const size = /(\d+(?:\.\d+)?)px/.exec(this.font);
    const p = paintOf(this.fillStyle, this.globalAlpha);
    this.parts.push(`<text transform="matrix(${[a, b, c, d, e, f].map((v) => v.toFixed(4)).join(' ')})" ` +
      `x="${x.toFixed(2)}" y="${y.toFixed(2)}" font-size="${size ? size[1] : 12}" ` +
      `text-anchor="${anchor}" dominant-baseline="${baseline}" fill="${p.color}">${escapeXml(text)}</text>`);
  }
  // Cells: the device pixels as an image, shown at their size in CSS pixels.
  putImageData(image, x, y) {
    const scratch = document.createElement('canvas');
    scratch.width = image.width;
    scratch.height = image.height;
    scratch.getContext('2d').putImageData(image, 0, 0);
    const ratio = page.view.box.ratio;
    this.parts.push(`<image x="${x / ratio}" y="${y / ratio}" width="${image.width / ratio}" ` +
      `height="${image.height / ratio}" preserveAspectRatio="none" style="image-rendering:pixelated" ` +
      `href="${scratch.toDataURL('image/png')}"/>`);
  }
}

// The view drawn again into SVG, under its title and caption.
export function svgOfView() {
  const { view, theme } = page;
  const b = view.box;
  const head = headerLines(b.width);
  const recorder = new SvgRecorder();
  update({ ctx: recorder });
  try {
    if (view.kind === 'map') paintMap(view); else if (view.kind === 'deck') paintDeck(view); else paintRows(view);
  } finally {
    update({ ctx: screenContext });
  }
  const lines = [];
  let y = 14;
  for (const line of head.title) { y += 21; lines.push(`<text x="12" y="${y - 4}" font-size="16" font-weight="600" fill="${theme.ink}">${escapeXml(line)}</text>`); }
  for (const line of head.caption) { y += 16; lines.push(`<text x="12" y="${y - 3}" font-size="12" fill="${theme.muted}">${escapeXml(line)}</text>`); }
  const height = b.height + head.height;
  return '<?xml version="1.0" encoding="UTF-8"?>\n' +
    `<svg xmlns="http://www.w3.org/2000/svg" width="${b.width}" height="${height}" viewBox="0 0 ${b.width} ${height}" ` +
    'font-family="system-ui, DejaVu Sans, sans-serif">\n' +
    `<title>${escapeXml(pictureTitle())}</title>\n` +
    `<rect width="100%" height="100%" fill="${theme.canvas}"/>\n${lines.join('\n')}\n` +
    `<g transform="translate(0 ${head.height})">\n${recorder.parts.join('\n')}\n</g>\n</svg>\n`;
}
