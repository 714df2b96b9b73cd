// make web-bench: the page's program (Asyncify) beside the per-frame loop in
// headless Chromium, each unpaced for 2000 frames from the title, twice, in
// one run: the time from start to end of each, side by side.
//   node bench/web_loops.mjs URL_OF_SITE
import { createRequire } from 'node:module';
const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const { chromium } = require('playwright-core');

const base = process.argv[2];
const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
for (const round of [1, 2]) {
    for (const program of ['vantrel', 'frame-loop']) {
        const page = await browser.newPage({ viewport: { width: 800, height: 600 } });
        const ended = new Promise(done => page.on('console', m => { if (m.text().startsWith('ended')) done(m.text()); }));
        await page.goto(`${base}/frame-loop.html?program=${program}&fast=1&frames=2000`);
        console.log(`round ${round}, ${program.padEnd(10)} 2000 frames unpaced: ${await ended}`);
        await page.close();
    }
}
await browser.close();
