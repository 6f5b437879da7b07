// The chart of a case as the service's chart engine gives it (the keys of `qinglan-cli chart
// --json`), drawn as HTML with the lines in SVG. Every text goes in through textContent, and
// every element holding one is marked data-key="path.in.the.json".
const SVG = "http://www.w3.org/2000/svg";
const LINE_NAMES = { 1: "少阳", 2: "少阴", 3: "老阳", 4: "老阴" };

function text(tag, value, key, className) {
  const element = document.createElement(tag);
  element.textContent = value ?? "";
  if (key) element.dataset.key = key;
  if (className) element.className = className;
  return element;
}

// One line: a bar (yang) or two (yin), with ○ or × beside a moving one.
function lineGraphic(code, key) {
  const svg = document.createElementNS(SVG, "svg");
  svg.setAttribute("viewBox", "0 0 60 12");
  svg.setAttribute("class", "line");
  svg.setAttribute("role", "img");
  svg.setAttribute("aria-label", LINE_NAMES[code] || "无");
  svg.dataset.key = key;
  svg.dataset.code = String(code);
  const bar = (x, width) => {
    const rect = document.createElementNS(SVG, "rect");
    for (const [name, value] of [["x", x], ["y", 2], ["width", width], ["height", 8]]) rect.setAttribute(name, value);
    svg.append(rect);
  };
  if (code === 1 || code === 3) bar(0, 46);
  if (code === 2 || code === 4) {
    bar(0, 20);
    bar(26, 20);
  }
  if (code === 3 || code === 4) {
    const mark = document.createElementNS(SVG, "text");
    mark.setAttribute("x", 49);
    mark.setAttribute("y", 11);
    mark.textContent = code === 3 ? "○" : "×";
    svg.append(mark);
  }
  return svg;
}

function lineCells(row, line, prefix, highlighted) {
  const relative = text("td", "", null, highlighted ? "hl" : "");
  relative.append(text("span", line.relative, `${prefix}.relative`),
                  text("span", line.branchElement, `${prefix}.branchElement`));
  const graphic = document.createElement("td");
  graphic.append(lineGraphic(line.code, `${prefix}.code`));
  row.append(relative, graphic, text("td", line.mark, `${prefix}.mark`, "mark"));
}

function linesTable(chart) {
  const table = document.createElement("table");
  table.className = "lines";
  const head = table.createTHead().insertRow();
  const main = chart.mainLines[0];
  const changed = chart.changedLines[0];
  head.append(text("th", "六神"), text("th", "伏神"));
  const mainName = text("th", "", null);
  mainName.colSpan = 3;
  mainName.append(text("span", main.hexagramName, "mainLines.0.hexagramName"));
  head.append(mainName, text("th", "变爻"));
  const changedName = text("th", "");
  changedName.colSpan = 3;
  changedName.append(text("span", changed.hexagramName, "changedLines.0.hexagramName"));
  changedName.hidden = !chart.hasChanged;
  head.append(changedName);
  const body = table.createTBody();
  for (let i = 0; i < 6; ++i) {
    const line = chart.mainLines[i];
    const row = body.insertRow();
    const hl = (k) => Boolean(chart.highlight[k]);
    row.append(text("td", line.beast, `mainLines.${i}.beast`),
               text("td", line.hiddenSpirit, `mainLines.${i}.hiddenSpirit`, hl(i) ? "hl" : ""));
    lineCells(row, line, `mainLines.${i}`, hl(6 + i));
    row.append(text("td", line.changedLine, `mainLines.${i}.changedLine`, "moved"));
    const changedRow = document.createDocumentFragment();
    const holder = document.createElement("tr");
    lineCells(holder, chart.changedLines[i], `changedLines.${i}`, hl(12 + i));
    for (const cell of [...holder.children]) {
      cell.hidden = !chart.hasChanged;
      changedRow.append(cell);
    }
    row.append(changedRow);
  }
  return table;
}

// Keys shown in the list under the lines, with their labels; those absent from the JSON are left out.
const DETAILS = [
  ["caseNumber", "六爻ID"], ["castDate", "日期"], ["castTime", "时间"], ["method", "装卦"],
  ["firstSlot", "月"], ["secondSlot", "日"], ["monthBranchText", "月建"], ["dayBranchText", "日辰"],
  ["stemPairs", "干支"], ["voidPair", "旬空"], ["hiddenSpiritSource", "伏神取自"], ["strengthBasis", "旺衰依据"],
  ["place", "地点"], ["timeRule", "时制"], ["beijingTime", "北京时间"], ["trueSolarTime", "真太阳时"],
];

export function drawChart(container, chart) {
  container.replaceChildren();
  container.append(text("p", chart.title, "title", "title"),
                   text("p", chart.pillarLabel, "pillarLabel"));
  const term = document.createElement("p");
  term.append(text("span", chart.termText, "termText"), " ", text("span", chart.voidText, "voidText"));
  container.append(term, text("p", chart.mainDescription, "mainDescription"));
  const changed = text("p", chart.changedDescription, "changedDescription");
  changed.hidden = !chart.hasChanged;
  container.append(changed);
  const scroller = document.createElement("div");
  scroller.className = "scroller";
  scroller.tabIndex = 0;  // scrolled by the keyboard on a narrow screen
  scroller.setAttribute("aria-label", "卦象");
  scroller.append(linesTable(chart));
  container.append(scroller);
  const list = document.createElement("dl");
  list.className = "details";
  for (const [key, label] of DETAILS) {
    if (!(key in chart)) continue;
    list.append(text("dt", label), text("dd", chart[key], key));
  }
  container.append(list);
}
