// The robot's upload form driven in Debian's headless Chromium, with
// JavaScript off as an entrant's browser may have it:
// - each log is chosen in the field its label names, sent with the button,
//   and the receipt read: its call, QSOs and score are zeltra-score's for
//   the same file, its SHA-256 that of the bytes chosen;
// - a file that is no log is answered 422 with the reason, on the page;
// - markup in a log's header is shown as text on the receipt and in the
//   list received, and runs nowhere;
// - the form, a receipt, a refusal and the list have no console error, ask
//   for nothing but the robot, and axe-core finds no serious or critical
//   accessibility violation.
//
//   node upload-form-test.mjs --robot ZELTRA_ROBOT --score ZELTRA_SCORE
//                             --cty CTY.DAT --logs FOLDER --work FOLDER
//
// Exit status 0: passed; 1: failed; 77: no browser or packages to run it.

import { execFileSync, spawn } from "node:child_process";
import { createHash } from "node:crypto";
import { existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const packages = path.join(here, "../score/site");
const browserPath = "/usr/lib/chromium/chromium-headless-shell";

function option(name) {
  const at = process.argv.indexOf(name);
  if (at < 0 || at + 1 >= process.argv.length) {
    console.error(`upload-form-test: ${name} is missing`);
    process.exit(2);
  }
  return process.argv[at + 1];
}

const robotProgram = option("--robot");
const score = option("--score");
const cty = option("--cty");
const logs = option("--logs");
const work = option("--work");

if (!existsSync(browserPath) || !existsSync(path.join(packages, "node_modules", "puppeteer-core"))) {
  console.log("upload-form-test: skipped: no headless Chromium, or npm ci not run in " + packages);
  process.exit(77);
}
const require = createRequire(path.join(packages, "package.json"));
const puppeteer = require("puppeteer-core");
const axeSource = readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");

const failures = [];
function fail(message) {
  failures.push(message);
  console.error("FAIL " + message);
}
function expectEqual(actual, expected, what) {
  if (actual !== expected) fail(`${what}: ${JSON.stringify(actual)}, not ${JSON.stringify(expected)}`);
}

rmSync(work, { recursive: true, force: true });
mkdirSync(work, { recursive: true });

// The logs to send: the golden ones, one that is no log, one with markup.
const hostileCall = "SP9XSS";
const hostile = {
  file: path.join(work, "hostile.log"),
  club: "<img src=x onerror=window.pwned=1>",
  categories: "SINGLE-OP<script>window.pwned=2</script>",
};
writeFileSync(
  hostile.file,
  `START-OF-LOG: 3.0\nCALLSIGN: ${hostileCall}\nCATEGORY-OPERATOR: ${hostile.categories}\n` +
    `CLUB: ${hostile.club}\n` +
    `QSO: 14080 RY 2026-12-05 1000 ${hostileCall} 599 K DL1ABC 599 001\nEND-OF-LOG:\n`,
);
const notALog = path.join(work, "holiday-photo.jpg");
writeFileSync(notALog, Buffer.from([0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46]));
const goldenLogs = readdirSync(logs)
  .filter((name) => name.endsWith(".log"))
  .map((name) => path.join(logs, name));

// zeltra-score's reading of a file: what the receipt must say.
function scored(file) {
  const json = JSON.parse(execFileSync(score, ["--format", "json", "--cty", cty, file], { encoding: "utf8" }));
  return json.logs[0];
}

// The robot on a free port of its own choosing, read from what it prints.
const robot = spawn(robotProgram, ["serve", "--data", path.join(work, "data"), "--listen", "127.0.0.1:0", "--cty", cty, "--per-minute", "0", "--from", "2026-12-05 00:00", "--to", "2026-12-06 00:00"], {
  stdio: ["ignore", "pipe", "inherit"],
});
const base = await new Promise((resolve, reject) => {
  let said = "";
  robot.stdout.on("data", (chunk) => {
    said += chunk;
    const listening = /listening on (\S+)/.exec(said);
    if (listening) resolve(`http://${listening[1]}`);
  });
  robot.on("exit", (code) => reject(new Error(`zeltra-robot ended with ${code}`)));
});

const browser = await puppeteer.launch({
  executablePath: browserPath,
  headless: "shell",
  args: ["--no-sandbox", "--disable-gpu"],
});

// A tab with JavaScript off, every request and error watched.
async function newTab(problems) {
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  await page.setRequestInterception(true);
  page.on("request", (request) => {
    if (request.url().startsWith(base + "/")) return request.continue();
    problems.push("asked for " + request.url());
    return request.abort();
  });
  page.on("console", (message) => {
    if (message.type() === "error") problems.push("console: " + message.text());
  });
  page.on("pageerror", (error) => problems.push("page error: " + error.message));
  return page;
}

// axe-core needs script: it runs in a tab of its own over the page's HTML.
async function checkAccessibility(name, html) {
  const page = await browser.newPage();
  await page.setContent(html, { waitUntil: "load" });
  await page.evaluate(axeSource);
  const violations = await page.evaluate(async () => {
    const results = await window.axe.run(document, { resultTypes: ["violations"] });
    return results.violations.filter((v) => v.impact === "serious" || v.impact === "critical").map((v) => `${v.id}: ${v.help}`);
  });
  for (const violation of violations) fail(`${name}: axe: ${violation}`);
  await page.close();
}

// Opens the form, chooses the file in the field labelled "Your log", sends
// it, and answers the status and the page it leads to.
async function upload(file, problems, key = "") {
  const page = await newTab(problems);
  await page.goto(base + "/", { waitUntil: "load" });
  const [field] = await page.$$("xpath/.//input[@id=//label[normalize-space()='Your log']/@for]");
  if (!field) {
    fail("the form has no field labelled \"Your log\"");
    return { page, status: 0 };
  }
  await field.uploadFile(file);
  if (key) {
    const [keyField] = await page.$$("xpath/.//input[@id=//label[normalize-space()='Key from your receipt']/@for]");
    if (!keyField) fail("the form has no field labelled \"Key from your receipt\"");
    else await keyField.type(key);
  }
  const [button] = await page.$$("xpath/.//button[normalize-space()='Send the log']");
  const [answer] = await Promise.all([page.waitForNavigation({ waitUntil: "load" }), button.click()]);
  return { page, status: answer.status() };
}

// The receipt's "term: value" pairs.
function receiptOf(page) {
  return page.$$eval("dl dt", (terms) => Object.fromEntries(terms.map((term) => [term.textContent, term.nextElementSibling.textContent])));
}

try {
  const problems = [];
  const form = await newTab(problems);
  await form.goto(base + "/", { waitUntil: "load" });
  await checkAccessibility("the form", await form.content());
  await form.close();

  const keys = {};
  for (const file of goldenLogs) {
    const expected = scored(file);
    const { page, status } = await upload(file, problems);
    const name = path.basename(file);
    expectEqual(status, 200, `${name}: status`);
    const receipt = await receiptOf(page);
    expectEqual(receipt["Call"], expected.call, `${name}: call`);
    expectEqual(receipt["QSOs"], String(expected.qsos), `${name}: QSOs`);
    expectEqual(receipt["Score before the check"], String(expected.score), `${name}: score`);
    expectEqual(receipt["SHA-256"], createHash("sha256").update(readFileSync(file)).digest("hex"), `${name}: SHA-256`);
    keys[expected.call] = { key: (receipt["Key"] ?? "").split(" ")[0], receipt: receipt["Receipt"] };
    if (!/^[0-9a-f]{32}$/.test(keys[expected.call].key)) fail(`${name}: no key on the receipt: ${receipt["Key"]}`);
    if (file === goldenLogs[0]) await checkAccessibility("a receipt", await page.content());
    await page.close();
  }

  {
    // Sent again without the key: held, the first receipt's number not
    // told; with the key typed into the form: it replaces the first.
    const file = goldenLogs[0];
    const { call } = scored(file);
    const heldProblems = [];
    const held = await upload(file, heldProblems);
    expectEqual(held.status, 202, "again without the key: status");
    const status = await held.page.$eval("[role=status]", (element) => element.textContent).catch(() => "");
    if (!status.includes("held")) fail(`again without the key: the page does not say held: ${status}`);
    expectEqual((await receiptOf(held.page))["Replaces"], undefined, "again without the key: replaces");
    await checkAccessibility("a receipt of a held log", await held.page.content());
    await held.page.close();
    const replaced = await upload(file, problems, keys[call].key.toUpperCase());
    expectEqual(replaced.status, 200, "again with the key: status");
    expectEqual((await receiptOf(replaced.page))["Replaces"], `receipt ${keys[call].receipt}`, "again with the key: replaces");
    await replaced.page.close();
  }

  {
    // The browser reports the 422 itself; nothing else may go wrong.
    const refusalProblems = [];
    const { page, status } = await upload(notALog, refusalProblems);
    for (const problem of refusalProblems)
      if (!problem.includes("status of 422")) problems.push(problem);
    expectEqual(status, 422, "no log: status");
    const alert = await page.$eval("[role=alert]", (element) => element.textContent).catch(() => "");
    if (!alert.includes("not received")) fail(`no log: the page does not say it was not received: ${alert}`);
    const reasons = await page.$$eval("li", (items) => items.map((item) => item.textContent));
    if (reasons.length === 0) fail("no log: no reason is given");
    await checkAccessibility("a refusal", await page.content());
    await page.close();
  }

  {
    const { page, status } = await upload(hostile.file, problems);
    expectEqual(status, 200, "markup: status");
    const receipt = await receiptOf(page);
    // Categories are shown as the check ranks them: upper case.
    expectEqual(receipt["Categories"]?.includes(hostile.categories.toUpperCase()), true, "markup: categories shown as text");
    const [list] = await Promise.all([page.waitForNavigation({ waitUntil: "load" }), page.click("a[href='/']")]);
    expectEqual(list.status(), 200, "the link to send another log");
    await page.goto(base + "/received", { waitUntil: "load" });
    const rows = await page.$$eval("tbody tr", (rows) => rows.map((row) => [...row.children].map((cell) => cell.textContent)));
    const calls = rows.map((row) => row[0]);
    for (const file of goldenLogs) {
      const call = scored(file).call;
      if (!calls.includes(call)) fail(`the list received has no row for ${call}`);
    }
    const row = rows.find((cells) => cells[0] === hostileCall);
    expectEqual(row?.[1]?.includes(hostile.categories.toUpperCase()), true, "markup: categories in the list");
    const elements = await page.$$eval("script, img, iframe", (found) => found.length);
    expectEqual(elements, 0, "elements made of a log's text");
    await checkAccessibility("the list received", await page.content());
    await page.close();
  }
  // With JavaScript off nothing could run; in a tab with it on, the list
  // must not run the markup either.
  {
    const page = await browser.newPage();
    await page.goto(base + "/received", { waitUntil: "load" });
    expectEqual(await page.evaluate(() => window.pwned), undefined, "markup ran in the list");
    await page.close();
  }
  for (const problem of problems) fail(problem);
  console.log(`upload-form-test: ${goldenLogs.length + 2} logs sent through the form`);
} finally {
  await browser.close();
  robot.kill("SIGTERM");
}

if (failures.length > 0) {
  console.error(`upload-form-test: ${failures.length} failures`);
  process.exit(1);
}
console.log("upload-form-test: passed");
