// The browser build played in a headless browser, as a player plays it: the
// page shows the title as the desktop draws it, SPACE starts play, the floor
// bar shows through the figure's see-through corners, → walks the figure,
// "save this game" downloads the demo (whole during play, for the desktop to
// replay to the page's line), ESC ends the game with nothing amiss in the
// console, "play again" plays a new game in the same page, a demo recorded by
// the desktop build replays in the page to the desktop's end line, and so
// does every release's golden demo to its kept line, while a ?demo= that is
// not a file beside the page is refused; the sound switched off by M is kept
// in the browser's storage and still off after a reload; a high score kept
// there is on the title after a reload (though frames come slowly now and
// then), its game replays from the table to its line, and "save scores" and
// "load scores" bring it back once removed; and the title is drawn soon after
// navigation, by the page's own clock.
// Run by
// tests/web_page_test.sh, which prepares what it compares with; it prints a
// line per check and how fast the page went.
//
//   node page_test.mjs --site DIR --demos DIR --out DIR --pixels PNG_PIXELS
//                      --title-points "X Y ..." --title-colours FILE --bot-line LINE
//                      --golden FILE      (lines "DEMO LINE": a demo in --demos and its line)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { get } from 'node:http';
import { availableParallelism, loadavg } from 'node:os';
import { basename, dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { gzipSync } from 'node:zlib';
import { chromium } from 'playwright-core';
import { browserOptions, check, eventually, failures, screenshotColours, serve, sleep } from './support.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { values: opt } = parseArgs({
    options: Object.fromEntries(['site', 'demos', 'out', 'pixels', 'title-points', 'title-colours', 'bot-line', 'golden']
        .map((name) => [name, { type: 'string' }])),
});
for (const [name, value] of Object.entries(opt)) assert.ok(value, `--${name} is missing`);

// The picture is 4:3 in the middle of a wider window: 800 x 600 from x = 200.
const viewport = { width: 1200, height: 600 };
const picture = { x: 200, y: 0, width: 800, height: 600 };

// The colours ("r g b" each) of the picture at canvas points [[x, y], ...],
// from a screenshot of the page as it shows the canvas.
let shots = 0;
const colours = (page, points) => screenshotColours(page,
    { file: join(opt.out, `shot${++shots}.png`), clip: picture, pixels: opt.pixels, points });

// x, y in the 640 x 480 window, or in world units (320 x 200, y upward), as
// a pixel of the picture on the page.
const fromWindow = (x, y) => [Math.floor((x * picture.width) / 640), Math.floor((y * picture.height) / 480)];
const fromWorld = (x, y) => [
    Math.floor((x * picture.width) / 320),
    picture.height - 1 - Math.floor((y * picture.height) / 200),
];

// The title: the desktop's headless rendering and the page's agree at the
// sample points, as colours_close (tests/xvfb.sh) judges them.
const titleWindowPoints = opt['title-points'].trim().split(/\s+/).map(Number)
    .reduce((pairs, v, i, all) => (i % 2 ? pairs : [...pairs, [v, all[i + 1]]]), []);
const titlePoints = titleWindowPoints.map(([x, y]) => fromWindow(x, y));
const titleColours = readFileSync(opt['title-colours'], 'utf8').trim().split('\n').map((line) => line.split(' ').map(Number));
async function titleShown(page) {
    const shown = join(opt.out, 'title-shown.txt');
    writeFileSync(shown, (await colours(page, titlePoints)).map((c) => c.join(' ')).join('\n') + '\n');
    try {
        execFileSync('sh', ['-c', '. "$1" && colours_close "$2" "$3"', 'sh', join(here, '..', 'xvfb.sh'), shown,
            opt['title-colours']]);
        return true;
    } catch {
        return false;
    }
}

// Play: the eleven yellow floor bars at world y = 16, 32, ... 176, sampled
// near both ends; how many of the 22 samples are yellow.
async function yellowFloorSamples(page) {
    const points = [];
    for (let k = 1; k <= 11; ++k) {
        const [, row] = fromWorld(0, 16 * k);
        points.push([4, row], [picture.width - 5, row]);
    }
    return (await colours(page, points)).filter(([r, g, b]) => r > 200 && g > 200 && b < 80).length;
}

// Where the figure is: the middle of the blue of its trousers, which nothing
// else on the bottom floor has, across a row at world y = 3; in world units,
// or null when it is not to be seen.
async function figureX(page) {
    const points = [];
    for (let x = 0; x < picture.width; x += 2) points.push([x, fromWorld(0, 3)[1]]);
    const blue = (await colours(page, points))
        .map(([r, g, b], i) => (b > 150 && b > r + 80 && b > g + 40 ? points[i][0] : null))
        .filter((x) => x !== null);
    return blue.length ? ((blue[0] + blue[blue.length - 1]) / 2) * (320 / picture.width) : null;
}

// The program's latest end line (a replay's end, a recording's, or that of
// the game so far which "save this game" gives), once it has printed one.
const endLine = (page) => page.printed.findLast((line) => /^frames \d+, /.test(line));

// A player's key press: held long enough for the game's loop to see it down.
async function press(page, key, ms = 100) {
    await page.keyboard.down(key);
    await sleep(ms);
    await page.keyboard.up(key);
}

// A file of the player's as the browser's storage holds it for the page
// (IndexedDB, a database for each folder the page mounts); empty when it
// holds none.
const stored = (page, folder, file) => page.evaluate(([folder, file]) => new Promise((resolve) => {
    const open = indexedDB.open(folder);
    open.onerror = () => resolve('');
    open.onsuccess = () => {
        const db = open.result;
        const done = (text) => { db.close(); resolve(text); };
        if (!db.objectStoreNames.contains('FILE_DATA')) return done('');
        const get = db.transaction('FILE_DATA').objectStore('FILE_DATA').get(`${folder}/${file}`);
        get.onsuccess = () => done(get.result ? new TextDecoder().decode(get.result.contents) : '');
        get.onerror = () => done('');
    };
}), [folder, file]);
const settingsStored = (page) => stored(page, '/home/web_user/.config', 'vantrel/settings.ini');
const scoresStored = (page) => stored(page, '/home/web_user/.local/share', 'vantrel/scores.txt');

// The desktop's bot demo made the game of an entry of the tables: put in the
// page's files and written back to the browser's storage.
async function keepBotScore(page, firstFrame) {
    await page.evaluate(async (first) => {
        const demo = new Uint8Array(await (await fetch('bot.demo')).arrayBuffer());
        const home = '/home/web_user/.local/share/vantrel';
        Module.FS.mkdirTree(`${home}/games`);
        Module.FS.writeFile(`${home}/games/bot.demo`, demo);
        Module.FS.writeFile(`${home}/scores.txt`,
            `vantrel-scores 1\ntable level 0\nentry BOT 7294 5 2026-12-10 games/bot.demo ${first}\n`);
        Module.playerStorage();
    }, firstFrame);
    assert.ok(await eventually(10, async () => /BOT/.test(await scoresStored(page))),
        'the scores were not written to the browser\'s storage');
}

async function downloaded(page, link, name) {
    const [download] = await Promise.all([page.waitForEvent('download', { timeout: 10000 }), page.click(link)]);
    assert.equal(download.suggestedFilename(), name);
    return readFileSync(await download.path());
}
const savedDemo = (page) => downloaded(page, '#save', 'vantrel-game.demo');

// CPU seconds used so far by the browser: every process under this one
// but the server (node).
function browserCpuSeconds() {
    const stats = new Map();
    for (const name of readdirSync('/proc')) {
        if (!/^\d+$/.test(name)) continue;
        try {
            const [, command, rest] = /^\d+ \((.*)\) (.*)$/s.exec(readFileSync(`/proc/${name}/stat`, 'utf8'));
            const fields = rest.split(' ');
            stats.set(Number(name), { command, parent: Number(fields[1]), ticks: Number(fields[11]) + Number(fields[12]) });
        } catch {
            // gone meanwhile
        }
    }
    const under = (pid) => pid === process.pid || (pid > 1 && stats.has(pid) && under(stats.get(pid).parent));
    let ticks = 0;
    for (const [pid, stat] of stats) if (pid !== process.pid && stat.command !== 'node' && under(pid)) ticks += stat.ticks;
    return ticks / 100;  // the kernel's clock ticks: 100 a second on Linux
}

// The site and the test's demos beside it, served as players get them.
const { url, stop } = await serve(opt.site, opt.demos);
// A host sends the site's files compressed at once; this server packs each
// file the first time it is asked for (seconds for the program at brotli's
// level), which the time to the title is not to count: every file is asked
// for once, as the browser asks, before the page is opened.
await Promise.all(readdirSync(opt.site).map((name) => new Promise((resolve, reject) => {
    get(`${url}${encodeURIComponent(name)}`, { headers: { 'accept-encoding': 'gzip, deflate, br' } }, (response) => {
        response.resume();
        response.on('end', resolve);
    }).on('error', reject);
})));
const browser = await chromium.launch(browserOptions);
const console_ = [];
async function openPage(size, context = null) {
    const page = await (context ? context.newPage() : browser.newPage({ viewport: size, acceptDownloads: true }));
    page.printed = [];  // what the page logged: the program's standard output among it
    page.on('console', (m) => {
        console_.push(`${m.type()}: ${m.text()}`);
        if (m.type() === 'log') page.printed.push(m.text());
    });
    page.on('pageerror', (e) => console_.push(`page error: ${e.message}`));
    // Counts the program's frames: it clears the picture once for each.
    // Until the title first shows, each frame drawn is also read back where
    // it ends (the program asks for the next animation frame once it has
    // drawn one), and window.titleDrawnAt is the time since navigation at
    // the end of the first frame that holds the title picture.
    await page.addInitScript(([points, want]) => {
        window.framesDrawn = 0;
        window.titleDrawnAt = null;
        let gl = null;
        const clear = WebGLRenderingContext.prototype.clear;
        WebGLRenderingContext.prototype.clear = function (mask) {
            ++window.framesDrawn;
            gl = this;
            return clear.call(this, mask);
        };
        const requestFrame = window.requestAnimationFrame;
        let looked = 0;
        window.requestAnimationFrame = function (callback) {
            if (gl && window.titleDrawnAt === null && looked !== window.framesDrawn && window.framesDrawn < 600) {
                looked = window.framesDrawn;
                const pixel = new Uint8Array(4);
                const [width, height] = [gl.drawingBufferWidth, gl.drawingBufferHeight];
                const title = points.every(([x, y], i) => {
                    gl.readPixels(Math.floor((x * width) / 640), height - 1 - Math.floor((y * height) / 480), 1, 1,
                        gl.RGBA, gl.UNSIGNED_BYTE, pixel);
                    return want[i].every((c, k) => Math.abs(c - pixel[k]) <= 12);  // as colours_close judges
                });
                if (title) window.titleDrawnAt = performance.now();
            }
            return requestFrame.call(this, callback);
        };
    }, [titleWindowPoints, titleColours]);
    return page;
}
const figures = [];

try {
    const page = await openPage(viewport);
    const started = Date.now();
    await page.goto(`${url}index.html`);
    let playing = await check('the page shows the title as the desktop draws it', async () => {
        assert.ok(await eventually(60, () => titleShown(page)),
            `at ${titlePoints.join(' ')}: ${readFileSync(join(opt.out, 'title-shown.txt'), 'utf8').replace(/\n/g, ', ')}` +
            ` where the desktop has ${readFileSync(opt['title-colours'], 'utf8').replace(/\n/g, ', ')}`);
        figures.push(`title shown ${((Date.now() - started) / 1000).toFixed(1)} s after navigation (screenshots)`);
    });
    // How soon a player sees the title, from the page's own clock: the end of
    // the first frame that holds it. The bound is for a machine at rest, and
    // grows with the load on its processors, as the browser's share of them
    // shrinks: time lost at start (a file fetched late, a wait the title does
    // not need) is caught at rest, and a busy machine does not fail it.
    const load = Math.max(1, loadavg()[0] / availableParallelism());
    const titleBound = 3.0 * load;  // s
    await check(`the title is drawn within ${titleBound.toFixed(1)} s of navigation (3 s at rest, load ${load.toFixed(1)} per processor)`, async () => {
        const drawnAt = await page.evaluate(() => window.titleDrawnAt);
        assert.ok(drawnAt !== null, 'no frame drawn held the title');
        figures.push(`title drawn ${(drawnAt / 1000).toFixed(2)} s after navigation (the page's clock)`);
        assert.ok(drawnAt / 1000 <= titleBound, `drawn ${(drawnAt / 1000).toFixed(2)} s after navigation`);
        return `${(drawnAt / 1000).toFixed(2)} s`;
    });
    // What a player downloads before playing, as a host that compresses sends
    // it: the page and every file of the site it has fetched, each at gzip -9.
    const budget = 0.77;  // MiB
    await check(`the page loads at most ${budget} MiB, compressed`, async () => {
        const paths = await page.evaluate(() => [location.pathname,
            ...performance.getEntriesByType('resource').map((entry) => new URL(entry.name).pathname)]);
        const sizes = [...new Set(paths)].map((path) => join(opt.site, decodeURIComponent(path)))
            .filter((file) => existsSync(file))
            .map((file) => [basename(file), gzipSync(readFileSync(file), { level: 9 }).length]);
        const total = sizes.reduce((sum, [, size]) => sum + size, 0) / 1048576;
        const detail = `${total.toFixed(2)} MiB: ${sizes.map(([name, size]) => `${name} ${Math.round(size / 1024)} KiB`).join(', ')}`;
        assert.ok(total <= budget, detail);
        return detail;
    });
    await check('the picture fills the window at 4:3 in the middle, with no scrollbars', async () => {
        const box = await page.locator('#canvas').boundingBox();
        for (const side of ['x', 'y', 'width', 'height'])
            assert.ok(Math.abs(box[side] - picture[side]) < 1, `canvas at ${JSON.stringify(box)}`);
        const overflow = await page.evaluate(() => [document.documentElement.scrollWidth > innerWidth,
            document.documentElement.scrollHeight > innerHeight]);
        assert.deepEqual(overflow, [false, false], 'the page scrolls');
    });
    playing = playing && await check('SPACE starts play: the yellow floors show', async () => {
        await press(page, 'Space');
        let yellow = 0;
        assert.ok(await eventually(15, async () => (yellow = await yellowFloorSamples(page)) >= 16),
            `${yellow} of 22 floor samples are yellow`);
    });
    playing = playing && await check('the floor bar shows through the standing figure\'s see-through corners', async () => {
        // The bar at y = 16 crosses the top of the figure at the start. Where
        // its picture is transparent, the bar drawn after it must show, not black.
        const points = [1, 3, 13, 15].map((x) => fromWorld(x, 15.8));
        const shown = await colours(page, points);
        assert.ok(shown.every(([r, g, b]) => r > 200 && g > 200 && b < 80),
            `at world x 1, 3, 13, 15, y 15.8: ${shown.map((c) => c.join(' ')).join(', ')}`);
    });
    playing = playing && await check('F1 is the page\'s: full screen and back, and play goes on', async () => {
        const full = () => page.evaluate(() => document.fullscreenElement === document.documentElement);
        await press(page, 'F1');
        assert.ok(await eventually(5, full), 'the page did not go full screen');
        await press(page, 'F1');
        assert.ok(await eventually(5, async () => !(await full())), 'the page stayed in full screen');
        // The game goes back to its title when it switches itself.
        const yellow = await yellowFloorSamples(page);
        assert.ok(yellow >= 16, `only ${yellow} of 22 floor samples are yellow: the game saw F1`);
    });
    playing = playing && await check('→ walks the figure right', async () => {
        const before = await figureX(page);
        assert.ok(before !== null && before < 16, `the figure is not at the start, but at ${before}`);
        // The figure walks on once set going, into harm's way within a
        // second or so: where it is, is looked at while it walks.
        await press(page, 'ArrowRight', 150);
        let after = null;
        assert.ok(await eventually(2, async () => (after = await figureX(page)) !== null && after >= before + 10),
            `from x = ${before.toFixed(1)} to ${after === null ? 'nowhere to be seen' : after.toFixed(1)}`);
        return `x ${before.toFixed(1)} → ${after.toFixed(1)}`;
    });
    if (playing) {
        const seconds = 3;
        const cpu = browserCpuSeconds();
        const frames = await page.evaluate(async (ms) => {
            let animation = 0;
            const count = () => { ++animation; requestAnimationFrame(count); };
            requestAnimationFrame(count);
            const drawn = window.framesDrawn;
            await new Promise((resolve) => setTimeout(resolve, ms));
            return { animation, drawn: window.framesDrawn - drawn };
        }, seconds * 1000);
        figures.push(`playing: ${(frames.drawn / seconds).toFixed(1)} frames/s drawn by the game, ` +
            `${(frames.animation / seconds).toFixed(1)} animation frames/s, ` +
            `browser CPU ${Math.round(((browserCpuSeconds() - cpu) / seconds) * 100)} % of a core`);
    }
    let during = null;
    playing = playing && await check('"save this game" during play downloads the demo', async () => {
        page.printed.length = 0;
        during = await savedDemo(page);
        assert.ok(during.subarray(0, 15).toString() === 'vantrel-demo 2\n',
            `during play it begins ${JSON.stringify(during.subarray(0, 40).toString('latin1'))}`);
        // The shell replays it on the desktop, which must find it whole and
        // end on the line of the game so far that the page printed.
        assert.ok(endLine(page), 'the page printed no line for the game so far');
        writeFileSync(`${opt.out}/page-during.demo`, during);
        writeFileSync(`${opt.out}/page-during.line`, `${endLine(page)}\n`);
        return `${during.length} bytes`;
    });
    const consoleAtEsc = console_.length;
    playing = playing && await check('ESC asks, "end" ends the game and the page says so', async () => {
        await press(page, 'Escape');
        assert.ok(await eventually(5, () => page.locator('#ask').isVisible()), 'ESC did not ask whether to end');
        await page.click('#ask-end');
        const said = await eventually(15, () => page.locator('#again').isVisible());
        const text = await page.locator('#status').textContent();
        assert.ok(said && /has ended/.test(text), `the page says ${JSON.stringify(text)}` +
            (endLine(page) ? `, though the program ended with '${endLine(page)}'` : ', and the program printed no end line'));
    });
    if (playing && during !== null) {
        await check('"save this game" after the end gives the whole demo', async () => {
            const after = await savedDemo(page);
            assert.ok(after.subarray(0, 15).toString() === 'vantrel-demo 2\n' && after.length >= during.length,
                `${after.length} bytes after the end, ${during.length} during play`);
            // The shell replays it on the desktop, which must end on the page's line.
            writeFileSync(`${opt.out}/page-game.demo`, after);
            writeFileSync(`${opt.out}/page-game.line`, `${endLine(page)}\n`);
            return `${after.length} bytes`;
        });
        await check('"play again" plays a new game, recorded afresh, in the same page with nothing amiss in the console', async () => {
            const amiss = console_.slice(consoleAtEsc).filter((line) => /^(error|page error):/.test(line));
            assert.deepEqual(amiss, [], 'the console says something went wrong as the game ended');
            const firstFrames = Number(/^frames (\d+),/.exec(endLine(page))[1]);
            const fetched = [];
            page.on('request', (request) => request.url().startsWith(url) && fetched.push(request.url()));
            await page.evaluate(() => { window.samePage = true; });
            await page.click('#again');
            assert.ok(await eventually(15, () => titleShown(page)), 'the title did not come back');
            await press(page, 'Space');
            let yellow = 0;
            assert.ok(await eventually(15, async () => (yellow = await yellowFloorSamples(page)) >= 16),
                `${yellow} of 22 floor samples are yellow after SPACE`);
            page.printed.length = 0;
            await savedDemo(page);
            const frames = Number((/^frames (\d+),/.exec(endLine(page) || '') || [0, -1])[1]);
            assert.ok(frames > 0 && frames < firstFrames,
                `the new game's demo holds ${frames} frames, the first game ${firstFrames}`);
            assert.ok(await page.evaluate(() => window.samePage === true), 'the page was loaded again');
            assert.deepEqual(fetched, [], 'the page fetched again');
        });
    }
    await page.close();

    // A replay needs no large picture: a small one draws faster.
    const replay = await openPage({ width: 320, height: 240 });
    await check('a desktop demo replays in the page to the desktop\'s end line', async () => {
        const begun = Date.now();
        await replay.goto(`${url}index.html?demo=bot.demo&fast=1`);
        const result = () => replay.locator('#result').textContent();
        // Once the program has printed its end line, the page has it at once.
        await eventually(150, async () => (await result()) || endLine(replay));
        if (endLine(replay)) figures.push(`fast replay of the desktop demo: ${((Date.now() - begun) / 1000).toFixed(1)} s`);
        const line = await eventually(5, result);
        assert.ok(line === opt['bot-line'],
            `#result holds '${line}', the program printed '${endLine(replay)}', the desktop '${opt['bot-line']}'`);
    });
    const golden = readFileSync(opt.golden, 'utf8').split('\n').filter(Boolean).map((l) => /^(\S+) (.*)$/.exec(l));
    for (const [, demo, kept] of golden) {
        await check(`the golden demo ${demo} replays in the page to its line`, async () => {
            await replay.goto(`${url}index.html?demo=${encodeURIComponent(demo)}&fast=1`);
            const line = await eventually(240, () => replay.locator('#result').textContent());
            assert.ok(line === kept, `#result holds '${line}', the demo was kept with '${kept}'`);
        });
    }
    await check('a demo that cannot be fetched is reported, and nothing starts', async () => {
        await replay.goto(`${url}index.html?demo=missing.demo`);
        const line = await eventually(15, () => replay.locator('#result').textContent());
        assert.match(line, /^cannot fetch missing\.demo/);
        // Had the program started anyway, it would have drawn, or said it
        // stopped, by the time its files are in.
        await replay.waitForLoadState('networkidle');
        await sleep(1000);
        const [drawn, said] = await replay.evaluate(() => [window.framesDrawn, document.getElementById('status').textContent]);
        assert.ok(drawn === 0 && said === '', `the program drew ${drawn} frames; the page says ${JSON.stringify(said)}`);
    });
    await check('a ?demo= that is not a file beside the page is refused with a message, and nothing is fetched', async () => {
        const offSite = [];
        replay.on('request', (request) => request.url().startsWith(url) || offSite.push(request.url()));
        for (const demo of ['%zz', 'http://[', 'data:application/octet-stream;base64,AAAA', `${url}bot.demo`,
            '//127.0.0.1/bot.demo', '../index.html', '/bot.demo']) {
            await replay.goto(`${url}index.html?demo=${encodeURIComponent(demo)}`);
            const said = await eventually(5, () => replay.evaluate(() => {
                const text = `${document.getElementById('status').textContent} ${document.getElementById('result').textContent}`;
                return document.getElementById('message').classList.contains('error') && !/loading/.test(text) && text;
            }));
            assert.ok(/It takes the name of a demo served beside this page|^ cannot fetch/.test(said || ''),
                `?demo=${demo}: the page says ${JSON.stringify(said)}`);
        }
        assert.deepEqual(offSite, [], 'the page fetched from elsewhere');
    });
    await check('the sound switched off by M is still off after a reload, and one page at a time keeps it', async () => {
        // Nothing is looked at in the picture: a small one draws faster.
        const context = await browser.newContext({ viewport: { width: 320, height: 240 } });
        const page = await openPage(null, context);
        const drawn = (frames) => eventually(60, () => page.evaluate((n) => window.framesDrawn > n, frames));
        const soundStored = async (state) => {
            const line = new RegExp(`^sound = ${state}$`, 'm');
            let stored = '';
            assert.ok(await eventually(10, async () => line.test(stored = await settingsStored(page))),
                `the browser's storage holds ${stored ? (/^sound = .*$/m.exec(stored) || ['no sound'])[0] : 'no settings'}` +
                `, not the sound ${state}`);
        };
        await page.goto(`${url}index.html`);
        assert.ok(await drawn(30), 'the page draws nothing');
        await press(page, 'm');
        await soundStored('off');  // written back while the game goes on
        // M again after the reload switches the sound on only when the game
        // started with it off, as the settings it read said.
        await page.reload();
        assert.ok(await drawn(30), 'the page draws nothing after the reload');
        await press(page, 'm');
        await soundStored('on');
        // A second page while this one is open plays, but writes nothing back:
        // its copy of the files would undo what this one keeps.
        const other = await openPage(null, context);
        const said = [];
        other.on('console', (m) => said.push(m.text()));
        await other.goto(`${url}index.html`);
        assert.ok(await eventually(30, () => said.some((line) => /another page of the game is open/.test(line))),
            'the second page did not say that it keeps nothing');
        await context.close();
    });
    await check('a high score in the browser\'s storage is on the title, and its game replays from the table to its line', async () => {
        const context = await browser.newContext({ viewport });
        const page = await openPage(null, context);
        await page.goto(`${url}index.html`);
        assert.ok(await eventually(60, () => page.evaluate(() => window.framesDrawn > 30)), 'the page draws nothing');
        const frames = Number(/^frames (\d+),/.exec(opt['bot-line'])[1]);
        await keepBotScore(page, frames - 100);
        await page.reload();
        // The table follows the title picture: black where the picture is not.
        const corners = [[10, 330], [630, 330], [10, 200], [630, 200]].map(([x, y]) => fromWindow(x, y));
        const tableShown = async () => (await colours(page, corners)).every(([r, g, b]) => r + g + b < 30);
        // As on a busy machine, the page's frames come now and then a third
        // of a second apart while the title shows: its turns go on all the
        // same, and the table comes, and stays for its games to be asked for.
        await page.evaluate(() => {
            window.stalls = setInterval(() => {
                for (const end = performance.now() + 300; performance.now() < end;);
            }, 1000);
        });
        const shown = await eventually(30, tableShown);
        await page.evaluate(() => clearInterval(window.stalls));
        assert.ok(shown, 'the title did not show the table read from the browser\'s storage');
        page.printed.length = 0;
        await press(page, '1');
        const line = await eventually(120, () => endLine(page));
        assert.ok(line === opt['bot-line'], `the game watched from the table ended '${line}', its demo '${opt['bot-line']}'`);

        await context.close();
    });
    await check('"save scores" gives a tar of the tables and their games, and "load scores" brings back those removed', async () => {
        const context = await browser.newContext({ viewport: { width: 320, height: 240 } });
        const page = await openPage(null, context);
        await page.goto(`${url}index.html`);
        assert.ok(await eventually(60, () => page.evaluate(() => window.framesDrawn > 30)), 'the page draws nothing');
        await keepBotScore(page, 100);
        const tar = join(opt.out, 'scores.tar');
        writeFileSync(tar, await downloaded(page, '#save-scores', 'vantrel-scores.tar'));
        // The desktop's tar reads it, as the game's folder lays the files out.
        const listed = execFileSync('tar', ['-tf', tar], { encoding: 'utf8' });
        assert.equal(listed, 'scores.txt\ngames/bot.demo\n', 'the saved scores hold other files');
        const entry = /^entry BOT .*$/m.exec(await scoresStored(page))[0];
        await page.evaluate(() => {
            const home = '/home/web_user/.local/share/vantrel';
            Module.FS.unlink(`${home}/scores.txt`);
            Module.FS.unlink(`${home}/games/bot.demo`);
            Module.playerStorage();
        });
        assert.ok(await eventually(10, async () => (await scoresStored(page)) === ''), 'the scores were not removed');
        const said = () => page.locator('#status').textContent();
        await page.setInputFiles('#scores-file', join(opt.demos, 'bot.demo'));
        assert.ok(await eventually(5, async () => /not a file of scores/.test(await said())),
            `a demo loaded as scores: the page says ${JSON.stringify(await said())}`);
        await page.setInputFiles('#scores-file', tar);
        assert.ok(await eventually(10, async () => (await scoresStored(page)).split('\n').includes(entry)),
            `the browser's storage holds ${JSON.stringify(await scoresStored(page))} after loading, where it held '${entry}'`);
        assert.ok(await stored(page, '/home/web_user/.local/share', 'vantrel/games/bot.demo'), 'the entry came back without its game');
        assert.match(await said(), /1 entered the tables/);
        await context.close();
    });
} finally {
    await browser.close();
    await stop();
}

for (const figure of figures) console.log(`     ${figure}`);
if (failures()) {
    console.log(`${failures()} failed; the pages' console said:`);
    for (const line of console_.slice(-30)) console.log(`  ${line}`);
    process.exit(1);
}
