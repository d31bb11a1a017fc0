// The results site of a simulated contest, one of whose entrants is
// hostile (markup in its SOAPBOX, CLUB, NAME, a category and its file's
// name), opened page by page in Debian's headless Chromium:
// - no page logs an error, throws, or asks for anything beyond the disk;
// - nothing the hostile entrant wrote runs or becomes markup: it is shown
//   as the text it is;
// - every entrant ranked on the home page is linked, and its page shows the
//   checked score the home page gives;
// - every chart has a size and an accessible name, and its numbers a table;
// - axe-core finds no serious or critical accessibility violation;
// all of it on a desktop's 1280 px and on a phone's 390 px, where no page
// is wider than the screen, chart text is at least 11 px tall and the home
// page shows each entrant's checked score without scrolling.
//
//   node browser-test.mjs --score ZELTRA_SCORE --make-logs MAKE_SCORE_LOGS
//                         --cty CTY.DAT --work FOLDER
//
// Exit status 0: passed; 1: failed; 77: no browser or packages to run it.

import { execFileSync, spawnSync } from "node:child_process";
import { existsSync, lstatSync, mkdirSync, readFileSync, rmSync, symlinkSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const browserPath = "/usr/lib/chromium/chromium-headless-shell";

function option(name) {
  const at = process.argv.indexOf(name);
  if (at < 0 || at + 1 >= process.argv.length) {
    console.error(`browser-test: ${name} is missing`);
    process.exit(2);
  }
  return process.argv[at + 1];
}

const score = option("--score");
const makeLogs = option("--make-logs");
const cty = option("--cty");
const work = option("--work");

if (!existsSync(browserPath) || !existsSync(path.join(here, "node_modules", "puppeteer-core"))) {
  console.log("browser-test: skipped: no headless Chromium, or npm ci not run in " + here);
  process.exit(77);
}
const require = createRequire(import.meta.url);
const puppeteer = (await import("puppeteer-core")).default;
const axeSource = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");

// What the hostile entrant writes where a page may show it.
const hostileFile = "<img src=x onerror=window.pwned=1>.log";
const hostile = {
  category: "SINGLE-OP<svg onload=window.pwned=2>" + " LOW".repeat(750),
  club: "Klub Łódź <script>window.pwned=3</script>",
  name: "\"><img src=x onerror=window.pwned=4>",
  soapbox: [
    "<iframe src=\"https://example.com/\"></iframe>Thanks!",
    "<a href=\"javascript:window.pwned=5\">click</a> <link rel=stylesheet href=https://example.com/x.css>",
  ],
};

const failures = [];
function fail(message) {
  failures.push(message);
  console.error("FAIL " + message);
}

// The contest: simulated logs, and the hostile one working a few of them.
rmSync(work, { recursive: true, force: true });
const logs = path.join(work, "logs");
const site = path.join(work, "site");
mkdirSync(logs, { recursive: true });
execFileSync(makeLogs, ["contest", logs, "24", "50"], { stdio: "inherit" });
const hostileLines = [
  "START-OF-LOG: 3.0",
  "CALLSIGN: SP9EVL",
  "CATEGORY-OPERATOR: " + hostile.category,
  "CLUB: " + hostile.club,
  "NAME: " + hostile.name,
  ...hostile.soapbox.map((line) => "SOAPBOX: " + line),
  "QSO: 14080 RY 2026-12-05 1000 SP9EVL 599 K DL1ABC 599 001",
  "QSO: 7040 RY 2026-12-05 1130 SP9EVL 599 K OK1XYZ 599 002",
  "END-OF-LOG:",
];
writeFileSync(path.join(logs, hostileFile), hostileLines.join("\n") + "\n");
// The hostile entrant got a link into the site's folder before the run:
// the page is written in its place, and what it pointed to stays.
const outside = path.join(work, "outside.txt");
writeFileSync(outside, "the organiser's own file\n");
mkdirSync(path.join(site, "entrants"), { recursive: true });
symlinkSync(outside, path.join(site, "entrants", "SP9EVL.html"));
// 1: lines skipped, as the simulated contest has some that cannot be read.
const scored = spawnSync(score, ["--cty", cty, "--quiet", "--cross-check", logs, "--site", site], {
  stdio: ["ignore", "ignore", "inherit"],
});
if (scored.status !== 0 && scored.status !== 1) {
  console.error(`browser-test: zeltra-score ended with ${scored.status}`);
  process.exit(1);
}
if (readFileSync(outside, "utf8") !== "the organiser's own file\n") fail("a page was written through a link");
if (lstatSync(path.join(site, "entrants", "SP9EVL.html")).isSymbolicLink())
  fail("entrants/SP9EVL.html is still a link");

const browser = await puppeteer.launch({
  executablePath: browserPath,
  headless: "shell",
  args: ["--no-sandbox", "--disable-gpu"],
});

// Opens a page of the site with every request watched; answers the page
// and what went wrong while it loaded.
async function open(file) {
  const page = await browser.newPage();
  const problems = [];
  await page.setRequestInterception(true);
  page.on("request", (request) => {
    const url = request.url();
    if (url.startsWith("file://") || url.startsWith("data:")) return request.continue();
    problems.push("asked for " + url);
    return request.abort();
  });
  page.on("console", (message) => {
    if (message.type() === "error") problems.push("console: " + message.text());
  });
  page.on("pageerror", (error) => problems.push("page error: " + error.message));
  await page.goto(pathToFileURL(file).href, { waitUntil: "load" });
  return { page, problems };
}

const screens = [
  { name: "desktop", width: 1280, height: 900 },
  { name: "phone", width: 390, height: 844 },
];
const smallestChartText = 11;

// What every page must be, whatever it shows, on every screen.
async function checkPage(file, page, problems, { charts = true } = {}) {
  for (const problem of problems) fail(`${path.relative(site, file)}: ${problem}`);
  for (const screen of screens) {
    await page.setViewport({ width: screen.width, height: screen.height });
    await checkOnScreen(`${path.relative(site, file)} (${screen.name})`, page, screen, charts);
  }
}

async function checkOnScreen(name, page, screen, charts) {
  const layout = await page.evaluate(() => ({
    pageWidth: document.documentElement.scrollWidth,
    chartText: Math.min(
      ...[...document.querySelectorAll("svg text")].map((text) => {
        const scale = text.ownerSVGElement.getScreenCTM().a;
        return parseFloat(getComputedStyle(text).fontSize) * scale;
      }),
    ),
  }));
  if (layout.pageWidth > screen.width) fail(`${name}: the page is ${layout.pageWidth} px wide`);
  // null: no chart text (Infinity does not survive the way back from the page).
  if (layout.chartText !== null && layout.chartText < smallestChartText) fail(`${name}: chart text ${layout.chartText.toFixed(1)} px tall`);
  const found = await page.evaluate(() => ({
    pwned: window.pwned,
    scripts: document.querySelectorAll("script, iframe, img, link, object, embed").length,
    lang: document.documentElement.lang,
    main: document.querySelectorAll("main").length,
    charts: [...document.querySelectorAll("svg")].map((svg) => {
      const box = svg.getBoundingClientRect();
      const names = (svg.getAttribute("aria-labelledby") || "")
        .split(" ")
        .map((id) => document.getElementById(id)?.textContent || "")
        .join(" ")
        .trim();
      const figure = svg.closest("figure");
      return {
        role: svg.getAttribute("role"),
        width: box.width,
        height: box.height,
        name: names,
        table: figure ? figure.querySelectorAll("table tbody tr").length : 0,
        bars: svg.querySelectorAll("rect, polyline").length,
      };
    }),
    tablesWithoutCaption: [...document.querySelectorAll("table")].filter((t) => !t.caption).length,
  }));
  if (found.pwned !== undefined) fail(`${name}: a hostile text ran (window.pwned = ${found.pwned})`);
  if (found.scripts > 0) fail(`${name}: ${found.scripts} script, frame, image or link elements`);
  if (found.lang !== "en") fail(`${name}: no lang`);
  if (found.main !== 1) fail(`${name}: ${found.main} main landmarks`);
  if (found.tablesWithoutCaption > 0) fail(`${name}: ${found.tablesWithoutCaption} tables without a caption`);
  if (charts && found.charts.length === 0) fail(`${name}: no chart`);
  for (const chart of found.charts) {
    if (chart.role !== "img") fail(`${name}: a chart is not an image`);
    if (!(chart.width > 100 && chart.height > 30)) fail(`${name}: a chart of ${chart.width}x${chart.height}`);
    if (chart.name.length < 10) fail(`${name}: a chart named "${chart.name}"`);
    if (chart.table === 0) fail(`${name}: chart "${chart.name}" has no table of its numbers`);
    if (chart.bars === 0) fail(`${name}: chart "${chart.name}" draws nothing`);
  }
  await page.evaluate(axeSource);
  const violations = await page.evaluate(async () => {
    const results = await window.axe.run(document, { resultTypes: ["violations"] });
    return results.violations
      .filter((v) => v.impact === "serious" || v.impact === "critical")
      .map((v) => `${v.id} (${v.impact}): ${v.nodes.length} elements, e.g. ${v.nodes[0]?.html}`);
  });
  for (const violation of violations) fail(`${name}: axe: ${violation}`);
}

try {
  const indexFile = path.join(site, "index.html");
  const index = await open(indexFile);
  await index.page.setViewport({ width: 390, height: 844 });
  const scoreShown = await index.page.evaluate(() => {
    const heading = [...document.querySelectorAll("section[aria-labelledby=overall] thead th")].find(
      (th) => th.textContent === "Checked score",
    );
    return heading ? heading.getBoundingClientRect().right : Infinity;
  });
  if (scoreShown > 390) fail(`index.html (phone): the checked score ends at ${scoreShown} px`);
  // The whole ranking is on its own page; the home page shows its first.
  const rankingFile = path.join(site, "results", "ALL.html");
  const ranking = await open(rankingFile);
  const ranked = await ranking.page.evaluate(() => {
    const table = document.querySelector("main table");
    const headings = [...table.querySelectorAll("thead th")].map((th) => th.textContent);
    const checkedColumn = headings.indexOf("Checked score");
    return [...table.querySelectorAll("tbody tr")].map((row) => {
      const link = row.querySelector("th a");
      return {
        call: row.querySelector("th").textContent,
        href: link ? link.getAttribute("href") : null,
        checked: row.children[checkedColumn].textContent,
      };
    });
  });
  // Every file received is listed on pages of their own.
  const receivedFile = path.join(site, "results", "RECEIVED.html");
  const received = await open(receivedFile);
  const bodyText = await received.page.evaluate(() => document.body.innerText);
  if (!bodyText.includes(hostileFile)) fail("RECEIVED.html: the hostile file's name is not shown as text");
  // Categories are shown as normalised: upper case.
  if (!bodyText.includes(hostile.category.toUpperCase().slice(0, 40)))
    fail("RECEIVED.html: the hostile category is not shown as text");
  await checkPage(receivedFile, received.page, received.problems, { charts: false });
  await received.page.close();
  await checkPage(indexFile, index.page, index.problems);
  await index.page.close();
  await checkPage(rankingFile, ranking.page, ranking.problems, { charts: false });
  await ranking.page.close();

  const logsSent = execFileSync("ls", [logs]).toString().trim().split("\n").length;
  if (ranked.length + 1 < logsSent - 2) fail(`index.html ranks ${ranked.length} of ${logsSent} logs`);
  const hostileRow = ranked.find((row) => row.call === "SP9EVL");
  if (!hostileRow) fail("index.html: the hostile entrant is not ranked");

  for (const row of ranked) {
    if (!row.href) {
      fail(`index.html: ${row.call} is not linked`);
      continue;
    }
    const file = path.join(site, "results", row.href);
    if (!existsSync(file)) {
      fail(`index.html: ${row.call} links to ${row.href}, which is not there`);
      continue;
    }
    const entrant = await open(file);
    const shown = await entrant.page.evaluate(() => {
      const terms = [...document.querySelectorAll("dt")];
      const checked = terms.find((dt) => dt.textContent === "Checked score");
      return {
        heading: document.querySelector("h1").textContent,
        checked: checked ? checked.nextElementSibling.textContent.split(" ")[0] : null,
        text: document.body.innerText,
      };
    });
    if (!shown.heading.startsWith(row.call)) fail(`${row.href}: headed "${shown.heading}", not ${row.call}`);
    if (shown.checked !== row.checked)
      fail(`${row.href}: checked score ${shown.checked}, the home page says ${row.checked}`);
    if (row.call === "SP9EVL") {
      for (const text of [hostile.club, hostile.name, hostile.category.toUpperCase(), ...hostile.soapbox])
        if (!shown.text.includes(text)) fail(`${row.href}: "${text}" is not shown as text`);
    }
    await checkPage(file, entrant.page, entrant.problems);
    await entrant.page.close();
  }
  console.log(`browser-test: the home page and ${ranked.length} entrants' pages opened`);
} finally {
  await browser.close();
}

if (failures.length > 0) {
  console.error(`browser-test: ${failures.length} failures`);
  process.exit(1);
}
console.log("browser-test: passed");
