// The floor for the page's measurements: what any page that shows a falling piece must do.
// A 50 ms timer moves four hatched cells one row down on a 420 by 428 canvas, repainting
// only the rows they left and reached, and counts its ticks for the measurement.
const canvas = document.querySelector("canvas");
const context = canvas.getContext("2d", { desynchronized: true });
const cell = 19;
const tile = new OffscreenCanvas(8, 8);
tile.getContext("2d").fillRect(0, 3, 8, 1);
tile.getContext("2d").fillRect(3, 0, 1, 8);
const hatch = context.createPattern(tile, "repeat");
const shape = [
  [0, 0],
  [1, 0],
  [2, 0],
  [1, 1],
];
let row = 0;
const ticks = [];

function paintCells(top, visible) {
  for (const [x, y] of shape) {
    const place = [20 + x * cell, (top + y) * cell, cell, cell];
    context.fillStyle = visible ? "#963c96" : "#ffff00";
    context.fillRect(...place);
    if (!visible) continue;
    context.fillStyle = hatch;
    context.fillRect(...place);
    context.strokeStyle = "#0000ff";
    context.strokeRect(place[0] + 0.5, place[1] + 0.5, cell - 1, cell - 1);
  }
}

context.fillStyle = "#ffff00";
context.fillRect(0, 0, canvas.width, canvas.height);
setInterval(() => {
  paintCells(row, false);
  row = (row + 1) % 20;
  paintCells(row, true);
  ticks.push(performance.now());
}, 50);

window.baseline = { ticks };
