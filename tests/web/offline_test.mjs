// The page installed and played offline, in headless Chromium with a
// profile kept on disk: the web app manifest and its icons; after one visit
// the page starts and plays with the network gone and its server stopped;
// the sound switched off by M is still off once the browser is started
// again; and a new version served in the same place replaces the kept files
// whole, leaving nothing of the old ones.
//
//   node offline_test.mjs --site DIR --pixels PNG_PIXELS
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { parseArgs } from 'node:util';
import { chromium } from 'playwright-core';
import { browserOptions, check as checkThat, eventually as waitFor, failures, screenshotColours, serve, sleep } from './support.mjs';

const { values: opt } = parseArgs({ options: { site: { type: 'string' }, pixels: { type: 'string' } } });
assert.ok(opt.site && opt.pixels, 'usage: offline_test.mjs --site DIR --pixels PNG_PIXELS');

const out = mkdtempSync(join(tmpdir(), 'vantrel-offline-'));
// The page may be between two documents as it is asked: not yet, then.
const eventually = (seconds, check) => waitFor(seconds, () => check().catch(() => false));

// The picture fills the 800 x 600 window; x, y in world units (320 x 200, y upward).
const viewport = { width: 800, height: 600 };
const fromWorld = (x, y) => [Math.floor((x * 800) / 320), 599 - Math.floor((y * 600) / 200)];
let shots = 0;
const colours = (page, points) =>
    screenshotColours(page, { file: join(out, `shot${++shots}.png`), pixels: opt.pixels, points });
// The title is a picture: most of a grid over it is not black.
const titleShown = async (page) => {
    const grid = [];
    for (let x = 1; x < 8; ++x) for (let y = 1; y < 6; ++y) grid.push([x * 100, y * 100]);
    return (await colours(page, grid)).filter(([r, g, b]) => r + g + b > 60).length > grid.length / 2;
};
// Play: the yellow floors at world y = 16, 32, ... 176, near both ends.
const floorsShown = async (page) => {
    const points = [];
    for (let k = 1; k <= 11; ++k) points.push([4, fromWorld(0, 16 * k)[1]], [795, fromWorld(0, 16 * k)[1]]);
    return (await colours(page, points)).filter(([r, g, b]) => r > 200 && g > 200 && b < 80).length >= 16;
};
async function press(page, key) {
    await page.keyboard.down(key);
    await sleep(100);
    await page.keyboard.up(key);
}

// The site served as players get it; on a given port, to serve a new
// version at the same address.
const serveSite = (root, port = 0) => serve('--port', String(port), root);

const profile = join(out, 'profile');
const launch = () => chromium.launchPersistentContext(profile, { ...browserOptions, viewport });
// The game's caches in the page's origin, each with the files it holds.
const cached = (page) => page.evaluate(async () => {
    const all = {};
    for (const name of await caches.keys()) {
        const keys = await (await caches.open(name)).keys();
        all[name] = keys.map((request) => new URL(request.url).pathname.replace(/^.*\//, '')).sort();
    }
    return all;
});
// Whether the browser's storage holds the sound in STATE (the page's
// settings.ini, in the IndexedDB database of its folder).
const soundKept = (state) => new Promise((resolve) => {
    const folder = '/home/web_user/.config';
    const open = indexedDB.open(folder);
    open.onerror = () => resolve(false);
    open.onsuccess = () => {
        const db = open.result;
        const done = (answer) => { db.close(); resolve(answer); };
        if (!db.objectStoreNames.contains('FILE_DATA')) return done(false);
        const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get(`${folder}/vantrel/settings.ini`);
        get.onsuccess = () => done(new RegExp(`^sound = ${state}$`, 'm')
            .test(get.result ? new TextDecoder().decode(get.result.contents) : ''));
        get.onerror = () => done(false);
    };
});
const buildOf = (root) => /^const build = '([^']+)';$/m.exec(readFileSync(join(root, 'sw.js'), 'utf8'))[1];

// Each check says how long it took.
const check = (name, body) => checkThat(name, async () => {
    const begun = Date.now();
    await body();
    return `${((Date.now() - begun) / 1000).toFixed(1)} s`;
});

let { stop, url } = await serveSite(opt.site);
const port = new URL(url).port;
let context = await launch();
try {
    const page = await context.newPage();
    await page.goto(url);
    await check('the page\'s manifest names the game and its icons, PNGs of 192 and 512 pixels', async () => {
        const address = await page.evaluate(() => document.querySelector('link[rel=manifest]')?.href);
        assert.ok(address, 'the page links no manifest');
        const manifest = await (await fetch(address)).json();
        assert.equal(manifest.name, 'Vantrel Remake');
        assert.deepEqual([manifest.start_url, manifest.scope, manifest.display], ['./', './', 'standalone']);
        const sizes = [];
        for (const icon of manifest.icons) {
            const png = Buffer.from(await (await fetch(new URL(icon.src, address))).arrayBuffer());
            assert.ok(png.subarray(1, 4).toString() === 'PNG', `${icon.src} is not a PNG`);
            const [width, height] = [png.readUInt32BE(16), png.readUInt32BE(20)];
            assert.equal(icon.sizes, `${width}x${height}`, `${icon.src} is ${width} x ${height}`);
            sizes.push(width);
        }
        assert.deepEqual(sizes.sort(), [192, 512]);
    });

    const names = Object.keys(JSON.parse(
        /^const files = (\{[^}]*\});$/m.exec(readFileSync(join(opt.site, 'sw.js'), 'utf8'))[1].replace(/'/g, '"')
            .replace(/,\s*\}/, '}'))).sort();
    const first = `vantrel ${url} ${buildOf(opt.site)}`;
    await check('after one visit, the page starts and plays with no network and no server', async () => {
        let held = {};
        assert.ok(await eventually(60, async () => (held = await cached(page))[first]?.length === names.length &&
            await page.evaluate(async () => (await navigator.serviceWorker.ready).active.state === 'activated')),
        `the caches hold ${JSON.stringify(held)}`);
        // M while the page is online, for the browser's restart below.
        assert.ok(await eventually(60, () => titleShown(page)), 'no title online');
        await press(page, 'm');
        assert.ok(await eventually(10, () => page.evaluate(soundKept, 'off')), 'M did not keep the sound off');
        await page.close();
        await context.setOffline(true);
        await stop();
        const offline = await context.newPage();
        await offline.goto(`${url}index.html`);
        assert.ok(await eventually(60, () => titleShown(offline)), 'the title is not shown offline');
        await press(offline, 'Space');
        assert.ok(await eventually(15, () => floorsShown(offline)), 'SPACE did not start play offline');
        await offline.close();
    });

    // A new version at the same address: a file changed, and the name its
    // build gives the cache.
    const next = join(out, 'next');
    cpSync(opt.site, next, { recursive: true });
    const pageScript = readFileSync(join(next, 'page.js'));
    const changed = Buffer.concat([pageScript, Buffer.from('// the next version\n')]);
    writeFileSync(join(next, 'page.js'), changed);
    const sum = (bytes) => createHash('sha256').update(bytes).digest('hex');
    writeFileSync(join(next, 'sw.js'), readFileSync(join(next, 'sw.js'), 'utf8')
        .replace(buildOf(opt.site), `${buildOf(opt.site)}-next`).replace(sum(pageScript), sum(changed)));
    const second = `vantrel ${url} ${buildOf(next)}`;

    await context.close();
    await stop();
    ({ stop } = await serveSite(next, port));
    context = await launch();
    await check('the sound switched off by M is still off after the browser is started again', async () => {
        const page = await context.newPage();
        await page.goto(url);
        assert.ok(await eventually(60, () => titleShown(page)), 'no title after the restart');
        assert.ok(await page.evaluate(soundKept, 'off'), 'the browser\'s storage no longer holds the sound off');
        // M switches the sound on only when the game started with it off.
        await press(page, 'm');
        assert.ok(await eventually(10, () => page.evaluate(soundKept, 'on')), 'M did not switch the sound on');
        await page.close();
    });
    await check('a new version replaces every kept file at once, and nothing of the old one stays', async () => {
        // The new worker (looked for now, as the browser does at a visit
        // in its own time) keeps the new set beside the old one still in
        // use, and takes over once no page of the old version is open.
        const old = await context.newPage();
        await old.goto(url);
        await old.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
        assert.ok(await eventually(30, () => old.evaluate(async () =>
            (await navigator.serviceWorker.getRegistration()).waiting !== null)), 'the new version was not installed');
        let held = await cached(old);
        assert.deepEqual([held[first], held[second]], [names, names], `the caches hold ${JSON.stringify(held)}`);
        await old.close();
        const page = await context.newPage();
        assert.ok(await eventually(20, async () => {
            await page.goto(url);
            held = await cached(page);
            return !held[first];
        }), `the old cache is still there beside ${Object.keys(held).join(', ')}`);
        assert.deepEqual(held, { [second]: names });
        const kept = await page.evaluate(async (name) =>
            (await (await caches.open(name)).match('page.js')).text(), second);
        assert.ok(kept.endsWith('// the next version\n'), 'the kept page.js is the old one');
    });
} finally {
    await context.close();
    await stop();
    rmSync(out, { recursive: true, force: true });
}
if (failures()) process.exit(1);
