// How long a page of the results site takes to load in Debian's headless
// Chromium, from the start of the navigation to the end of its load event,
// the median of five loads; the browser tests' puppeteer-core drives it.
//
//   node bench/site-load-time.mjs PAGE.html

import { createRequire } from "node:module";
import path from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const require = createRequire(path.join(here, "../tests/tools/score/site/package.json"));
const puppeteer = require("puppeteer-core");

const browser = await puppeteer.launch({
  executablePath: "/usr/lib/chromium/chromium-headless-shell",
  headless: "shell",
  args: ["--no-sandbox", "--disable-gpu"],
});
const times = [];
try {
  for (let run = 0; run < 5; ++run) {
    const page = await browser.newPage();
    await page.goto(pathToFileURL(process.argv[2]).href, { waitUntil: "load" });
    times.push(
      await page.evaluate(() => {
        const [navigation] = performance.getEntriesByType("navigation");
        return navigation.loadEventEnd - navigation.startTime;
      }),
    );
    await page.close();
  }
} finally {
  await browser.close();
}
times.sort((a, b) => a - b);
console.log(`${(times[2] / 1000).toFixed(2)} s (median of 5 loads)`);
