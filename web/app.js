// The page: log in, the case lists, a case with its chart and texts, a new cast. Routes live in
// the address's hash (#recent, #browse, #search/WORD, #case/ID, #cast) so the back button works.
import * as api from "./api.js";
import { drawChart } from "./chart.js";

const $ = (id) => document.getElementById(id);
const VIEWS = ["login-view", "list-view", "case-view", "cast-view"];
const THROW_VALUES = [[1, "少阳 ⚊"], [2, "少阴 ⚋"], [3, "老阳 ○"], [4, "老阴 ×"]];
const LINE_NAMES = ["初爻", "二爻", "三爻", "四爻", "五爻", "上爻"];
let loggedIn = false;
let currentCase = null;

function show(view) {
  for (const id of VIEWS) $(id).hidden = id !== view;
  $("nav").hidden = !loggedIn;
}

function say(message) {
  $("status").textContent = message;
}

// A refusal for want of a session leads back to the login.
function failed(error) {
  if (error instanceof api.ApiError && error.status === 401) {
    loggedIn = false;
    show("login-view");
  }
  say(error.message);
}

function caseItem(row) {
  const item = document.createElement("li");
  const link = document.createElement("a");
  link.href = `#case/${row.id}`;
  const name = document.createElement("span");
  name.className = "name";
  name.textContent = row.name;
  const meta = document.createElement("span");
  meta.className = "meta";
  meta.textContent = `${row.castDate} ${row.subject}`;
  link.append(name, meta);
  item.append(link);
  return item;
}

function showList(title, rows) {
  $("list-title").textContent = title;
  $("case-list").replaceChildren(...rows.map(caseItem));
  if (rows.length === 0) {
    const empty = document.createElement("li");
    empty.textContent = "没有卦例";
    $("case-list").append(empty);
  }
  show("list-view");
}

function fillSelect(select, values, suffix) {
  select.replaceChildren(...values.map((value) => {
    const option = document.createElement("option");
    option.value = value;
    option.textContent = `${value}${suffix}`;
    return option;
  }));
}

// The categories the login named, after a first option for none chosen.
function fillCategories(select, firstLabel) {
  const chosen = select.value;
  const first = document.createElement("option");
  first.value = "";
  first.textContent = firstLabel;
  select.replaceChildren(first, ...api.categories().map(({ id, name }) => {
    const option = document.createElement("option");
    option.value = id;
    option.textContent = name;
    return option;
  }));
  select.value = chosen;
  if (select.selectedIndex < 0) select.value = "";
}

async function browse() {
  $("browse").hidden = false;
  fillCategories($("category"), "全部");
  await browseCategory();
}

async function browseCategory() {
  fillSelect($("year"), await api.years($("category").value), "年");
  await browseYear();
}

async function browseYear() {
  const year = $("year").value;
  if (!year) return showList("没有卦例", []);
  fillSelect($("month"), await api.months(year, $("category").value), "月");
  await browseMonth();
}

async function browseMonth() {
  const year = $("year").value;
  const month = $("month").value;
  showList(`${year}年${month}月`, month ? await api.casesOfMonth(year, month, $("category").value) : []);
}

function detail(list, label, value) {
  const term = document.createElement("dt");
  term.textContent = label;
  const description = document.createElement("dd");
  description.textContent = value;
  list.append(term, description);
}

async function showCase(id) {
  const stored = await api.openCase(id);
  currentCase = stored;
  $("case-title").textContent = stored.name;
  const details = $("case-details");
  details.replaceChildren();
  detail(details, "事由", stored.subject);
  detail(details, "日期", stored.castDate);
  detail(details, "性别", stored.gender);
  detail(details, "出生", stored.birthYear);
  const category = api.categories().find(({ id }) => String(id) === stored.categoryId);
  if (category) detail(details, "分类", category.name);
  if (stored.chart) {
    drawChart($("chart"), stored.chart);
  } else {
    $("chart").textContent = stored.chartProblem || "";
  }
  $("report").replaceChildren(...(stored.report || []).map((line) => {
    const paragraph = document.createElement("p");
    paragraph.textContent = line;
    return paragraph;
  }));
  const form = $("texts-form");
  form.judgment.value = stored.judgment;
  form.feedback.value = stored.feedback;
  show("case-view");
  $("case-title").focus();
}

function buildThrows() {
  const fieldset = $("throws");
  for (let i = 0; i < 6; ++i) {
    const label = document.createElement("label");
    label.textContent = `${LINE_NAMES[i]} `;
    const select = document.createElement("select");
    select.name = `throw${i}`;
    for (const [value, name] of THROW_VALUES) {
      const option = document.createElement("option");
      option.value = value;
      option.textContent = name;
      select.append(option);
    }
    label.append(select);
    fieldset.append(label);
  }
}

async function route() {
  if (!loggedIn) return show("login-view");
  const hash = decodeURIComponent(location.hash.slice(1));
  say("");
  $("browse").hidden = true;
  try {
    if (hash.startsWith("case/")) return await showCase(hash.slice(5));
    if (hash === "cast") {
      fillCategories($("cast-category"), "（无）");
      return show("cast-view");
    }
    if (hash === "browse") return await browse();
    if (hash.startsWith("search/")) {
      const word = hash.slice(7);
      $("search-form").q.value = word;
      return showList(`搜索“${word}”`, await api.search(word));
    }
    showList("最近的卦例", await api.recentCases());
  } catch (error) {
    failed(error);
  }
}

function wire() {
  $("login-form").addEventListener("submit", async (event) => {
    event.preventDefault();
    const form = event.target;
    try {
      await api.logIn(form.name.value, form.password.value);
      form.password.value = "";
      loggedIn = true;
      await route();
    } catch (error) {
      say(error.message);
    }
  });
  $("logout").addEventListener("click", async () => {
    try {
      await api.logOut();
    } catch (error) {
      say(error.message);
    }
    loggedIn = false;
    location.hash = "";
    show("login-view");
  });
  $("search-form").addEventListener("submit", (event) => {
    event.preventDefault();
    const word = event.target.q.value.trim();
    if (word) location.hash = `search/${encodeURIComponent(word)}`;
  });
  $("category").addEventListener("change", () => browseCategory().catch(failed));
  $("year").addEventListener("change", () => browseYear().catch(failed));
  $("month").addEventListener("change", () => browseMonth().catch(failed));
  $("texts-form").addEventListener("submit", async (event) => {
    event.preventDefault();
    const form = event.target;
    try {
      await api.saveTexts(currentCase.id, form.judgment.value, form.feedback.value);
      say("已保存");
    } catch (error) {
      failed(error);
    }
  });
  $("cast-form").addEventListener("change", (event) => {
    if (event.target.name === "method") $("throws").disabled = event.target.value !== "throws";
  });
  $("cast-form").addEventListener("submit", async (event) => {
    event.preventDefault();
    const form = event.target;
    const fields = { subject: form.subject.value, gender: form.gender.value, birthYear: form.birthYear.value };
    if (form.categoryId.value !== "") fields.categoryId = Number(form.categoryId.value);
    if (form.method.value === "throws")
      fields.throws = LINE_NAMES.map((_, i) => Number(form[`throw${i}`].value));
    try {
      const made = await api.cast(fields);
      form.reset();
      $("throws").disabled = true;
      location.hash = `case/${made.id}`;
    } catch (error) {
      failed(error);
    }
  });
  window.addEventListener("hashchange", route);
}

async function start() {
  buildThrows();
  wire();
  try {
    await api.resumeSession();
    loggedIn = true;
  } catch {
    loggedIn = false;
  }
  await route();
}

start();
