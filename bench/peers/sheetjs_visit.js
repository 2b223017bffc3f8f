// Peer for the benchmarks: opens an .xlsx or .ods with SheetJS (npm "xlsx") under node and
// reads every cell of every sheet. Usage: node sheetjs_visit.js XLSX_MODULE_DIR FILE
const XLSX = require(require("path").resolve(process.argv[2]));
// Dense sheets and no formatted text or HTML: the quickest way SheetJS offers to get values.
const book = XLSX.readFile(process.argv[3], {dense: true, cellText: false, cellHTML: false});
let cells = 0, text = 0, sum = 0;
for (const name of book.SheetNames) {
  const rows = book.Sheets[name]["!data"] || book.Sheets[name];
  if (!Array.isArray(rows)) continue;
  for (const row of rows) {
    if (!row) continue;
    for (const cell of row) {
      if (!cell || cell.v === undefined) continue;
      ++cells;
      if (typeof cell.v === "string") text += cell.v.length;
      else if (typeof cell.v === "number") sum += cell.v;
    }
  }
}
console.log(`sheets=${book.SheetNames.length} cells=${cells} text=${text} sum=${sum.toPrecision(6)}`);
