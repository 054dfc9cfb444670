// What the rest of the script finds the page by: its elements by id, the
// canvas the views draw on, and the font every text drawn is set in. Found
// once, as the script starts, before anything else runs.

export const $ = (id) => document.getElementById(id);

export const canvas = $('canvas');
export const screenContext = canvas.getContext('2d');

export const font = (size) => `${size}px system-ui, "DejaVu Sans", sans-serif`;
