// The page played on a phone in a headless browser: the touch buttons by
// their names, big enough, below the picture in portrait; start, walking
// with one finger and two, pause and sound as the game has them (whichever
// way they changed), a key hiding the buttons and a touch bringing them
// back, a hidden page pausing play, ESC asking before it ends the game, a
// tap on the picture leaving the title in landscape, and the letters of a
// name; the game so played replays on the desktop to the page's end line.
// Prints a line per check.
//
//   node touch_test.mjs --site DIR --pixels PNG_PIXELS --game GAME [--shots DIR]
//
// --shots keeps a screenshot of the page in portrait and in landscape there.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { parseArgs } from 'node:util';
import { browserOptions, check, eventually as waitFor, failures, screenshotColours, serve, sleep } from './support.mjs';

const { values: opt } = parseArgs({
    options: { site: { type: 'string' }, pixels: { type: 'string' }, game: { type: 'string' }, shots: { type: 'string' } },
});
assert.ok(opt.site && opt.pixels && opt.game, 'usage: touch_test.mjs --site DIR --pixels PNG_PIXELS --game GAME [--shots DIR]');
let chromium, devices;
try {
    ({ chromium, devices } = await import('playwright-core'));
} catch {
    console.log('FAIL playwright-core is not installed in tests/web (tests/web_page_test.sh installs it)');
    process.exit(1);
}
const out = mkdtempSync(join(tmpdir(), 'touch-test-'));
// Touches and the page's answers to them are quick: looked at every 100 ms.
const eventually = (seconds, check) => waitFor(seconds, check, 100);

// The colours ("r g b" each) at points [[x, y], ...] of the picture, from a
// screenshot of the page where it shows the canvas (or a band of its rows,
// from row `top` on, which is quicker).
let shots = 0;
const colours = (page, points, top = 0, rows = page.picture.height) => screenshotColours(page, {
    file: join(out, `shot${++shots}.png`), pixels: opt.pixels, points,
    clip: { x: page.picture.x, y: page.picture.y + top, width: page.picture.width, height: rows },
});
// World units (320 x 200, y upward) as a pixel of the picture.
const fromWorld = (page, x, y) => [
    Math.min(page.picture.width - 1, Math.floor((x * page.picture.width) / 320)),
    page.picture.height - 1 - Math.floor((y * page.picture.height) / 200),
];
// Play shows eleven yellow floor bars at world y = 16, 32, ... 176, which the
// title has not: how many of 22 samples near their ends are yellow.
async function yellowFloorSamples(page) {
    const points = [];
    for (let k = 1; k <= 11; ++k) points.push(fromWorld(page, 2, 16 * k), fromWorld(page, 318, 16 * k));
    return (await colours(page, points)).filter(([r, g, b]) => r > 200 && g > 200 && b < 80).length;
}
// Where the figure is along the bottom floor, in world units: the middle of
// the blue of its trousers (world y = 2 to 5, which its steps move); null
// when not to be seen.
async function figureX(page) {
    const top = fromWorld(page, 0, 5)[1];
    const rows = fromWorld(page, 0, 2)[1] - top + 1;
    const points = [];
    for (let y = 0; y < rows; ++y)
        for (let x = 0; x < page.picture.width; x += 1) points.push([x, y]);
    const blue = (await colours(page, points, top, rows))
        .map(([r, g, b], i) => (b > 150 && b > r + 80 && b > g + 40 ? points[i][0] : null))
        .filter((x) => x !== null);
    return blue.length ? ((Math.min(...blue) + Math.max(...blue)) / 2) * (320 / page.picture.width) : null;
}


const { url, stop } = await serve(opt.site);
const browser = await chromium.launch(browserOptions);

// A phone held upright or sideways, at one device pixel per CSS pixel (the
// software renderer draws a larger picture slowly). The page is loaded and
// has drawn its title; fingers are put down and lifted by the browser's own
// touch input, several at once.
const phone = devices['Pixel 7'];
async function openPhone(landscape) {
    const { width, height } = phone.viewport;
    const context = await browser.newContext({ ...phone, deviceScaleFactor: 1,
        viewport: landscape ? { width: height, height: width } : { width, height } });
    const page = await context.newPage();
    page.setDefaultTimeout(20000);
    // Counts the program's frames: it clears the picture once for each.
    await page.addInitScript(() => {
        window.framesDrawn = 0;
        const clear = WebGLRenderingContext.prototype.clear;
        WebGLRenderingContext.prototype.clear = function (mask) {
            ++window.framesDrawn;
            return clear.call(this, mask);
        };
    });
    page.said = [];
    page.on('console', (m) => page.said.push(`${m.type()}: ${m.text()}`));
    page.on('pageerror', (e) => page.said.push(`page error: ${e.message}`));
    await page.goto(`${url}index.html`, { timeout: 60000 });
    const drawing = await eventually(60, () => page.evaluate(() => typeof Module === 'object' &&
        typeof Module._vantrel_state === 'function' && document.getElementById('status').textContent === ''));
    assert.ok(drawing, `the page did not start: ${page.said.slice(-5).join(' | ')}`);
    await sleep(500);
    page.picture = await page.locator('#canvas').boundingBox();
    page.cdp = await context.newCDPSession(page);
    page.fingers = new Map();
    return page;
}
const button = (page, name) => page.locator('#touch').getByRole('button', { name, exact: true });
const centre = async (locator) => {
    const box = await locator.boundingBox();
    return { x: box.x + box.width / 2, y: box.y + box.height / 2 };
};
// Fingers down on (or up from) these buttons, the others staying where they are.
async function fingers(page, down, names) {
    for (const name of names) {
        if (down) page.fingers.set(name, { ...(await centre(button(page, name))), id: page.fingers.size + 1 });
        else page.fingers.delete(name);
    }
    const touchPoints = [...page.fingers.values()];
    await page.cdp.send('Input.dispatchTouchEvent',
        touchPoints.length ? { type: down ? 'touchStart' : 'touchMove', touchPoints } : { type: 'touchEnd', touchPoints });
}
async function tap(page, name) {
    await fingers(page, true, [name]);
    await sleep(60);
    await fingers(page, false, [name]);
}
// Read also while the buttons are hidden (a key hides them).
const pressed = (page, name) => page.locator(`#touch [data-action="${name}"]`).getAttribute('aria-pressed');
async function becomes(page, name, value) {
    let now = null;
    assert.ok(await eventually(5, async () => (now = await pressed(page, name)) === value),
        `"${name}" has aria-pressed ${now}, not ${value}`);
}
const names = ['left', 'right', 'start', 'pause', 'sound', 'full screen'];
// The buttons' boxes where each is at least 48 px each way; what is not.
async function hitAreas(page) {
    const boxes = {};
    for (const name of names) {
        const box = await button(page, name).boundingBox();
        assert.ok(box, `no visible button "${name}"`);
        assert.ok(box.width >= 48 && box.height >= 48, `"${name}" is ${box.width} x ${box.height} px`);
        boxes[name] = box;
    }
    return boxes;
}
// Play resumed for a moment with the fingers as they are, then paused again
// (by the page's own pause, as its button presses it): how far the figure
// went, + right, - left. Looked at only while paused, it stays clear of harm
// (it walks on once set going, into harm's way on the right within a second).
async function stepWith(page) {
    const toggle = () => page.evaluate(() => {
        Module._vantrel_press_action(3, 1);
        Module._vantrel_press_action(3, 0);
    });
    const frames = () => page.evaluate(() => window.framesDrawn);
    await becomes(page, 'pause', 'true');
    const before = await figureX(page);
    await toggle();
    await becomes(page, 'pause', 'false');
    const resumed = await frames();
    assert.ok(await eventually(10, async () => (await frames()) >= resumed + 3), 'the game drew nothing');
    await toggle();
    await becomes(page, 'pause', 'true');
    const after = await figureX(page);
    assert.ok(before !== null && after !== null, `the figure is not to be seen (${before}, ${after})`);
    return after - before;
}

try {
    const page = await openPhone(false);
    await check('portrait: the six buttons by name, at least 48 px, below the picture', async () => {
        const boxes = await hitAreas(page);
        const p = page.picture;
        for (const [name, b] of Object.entries(boxes)) {
            const apart = b.y >= p.y + p.height || b.y + b.height <= p.y || b.x >= p.x + p.width || b.x + b.width <= p.x;
            assert.ok(apart, `"${name}" at ${JSON.stringify(b)} lies over the picture at ${JSON.stringify(p)}`);
        }
        const overflow = await page.evaluate(() => document.documentElement.scrollHeight > innerHeight);
        assert.ok(!overflow, 'the page scrolls');
    });
    let playing = await check('"start" leaves the title', async () => {
        const before = await yellowFloorSamples(page);
        await tap(page, 'start');
        let yellow = 0;
        assert.ok(await eventually(10, async () => (yellow = await yellowFloorSamples(page)) >= 16),
            `${yellow} of 22 floor samples yellow after start, ${before} before`);
        if (opt.shots) await page.screenshot({ path: join(opt.shots, 'touch-portrait.png') });
    });
    playing = playing && await check('"right" held walks right, "left" left once it is let go, and right wins with both held', async () => {
        await tap(page, 'pause');
        const went = [];
        await fingers(page, true, ['right']);
        went.push(await stepWith(page));
        assert.ok(went[0] >= 2, `"right" held: the figure went ${went[0].toFixed(1)}`);
        await fingers(page, false, ['right']);
        await fingers(page, true, ['left']);
        went.push(await stepWith(page));
        assert.ok(went[1] <= -2, `"right" let go and "left" held: the figure went ${went[1].toFixed(1)}`);
        await fingers(page, false, ['left']);
        await fingers(page, true, ['right']);
        await fingers(page, true, ['left']);  // a second finger beside the first, which stays down
        went.push(await stepWith(page));
        assert.ok(went[2] >= 2, `"right" held, then "left" too: the figure went ${went[2].toFixed(1)}`);
        await fingers(page, false, ['left', 'right']);
        await fingers(page, true, ['left']);
        went.push(await stepWith(page));
        assert.ok(went[3] <= -2, `both let go, "left" held: the figure went ${went[3].toFixed(1)}`);
        await fingers(page, false, ['left']);
        await tap(page, 'pause');
        return `went ${went.map((x) => x.toFixed(0)).join(', ')} world units`;
    });
    playing = playing && await check('"pause" and "sound" show the game\'s state, changed by them or by P and M', async () => {
        await becomes(page, 'pause', 'false');
        const soundAtFirst = await pressed(page, 'sound');
        const soundOther = soundAtFirst === 'true' ? 'false' : 'true';
        await tap(page, 'pause');
        await becomes(page, 'pause', 'true');
        await tap(page, 'sound');
        await becomes(page, 'sound', soundOther);
        await page.keyboard.press('p');
        await becomes(page, 'pause', 'false');
        await page.keyboard.press('m');
        await becomes(page, 'sound', soundAtFirst);
    });
    await check('a key hides the buttons, a touch brings them back', async () => {
        const shown = () => page.locator('#touch').isVisible();
        const touchPicture = () => page.touchscreen.tap(page.picture.x + page.picture.width / 2, page.picture.y + 10);
        await touchPicture();
        assert.ok(await eventually(2, shown), 'not shown after a touch');
        await page.keyboard.press('Shift');
        assert.ok(await eventually(2, async () => !(await shown())), 'still shown after a key');
        await touchPicture();
        assert.ok(await eventually(2, shown), 'not shown again after a touch');
    });
    playing = playing && await check('a hidden page pauses play, which stays paused when it shows again', async () => {
        const seen = (state) => page.evaluate((state) => {
            Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => state });
            Object.defineProperty(document, 'hidden', { configurable: true, get: () => state === 'hidden' });
            document.dispatchEvent(new Event('visibilitychange'));
        }, state);
        await seen('hidden');
        await becomes(page, 'pause', 'true');
        await seen('visible');
        await sleep(500);
        assert.equal(await pressed(page, 'pause'), 'true', 'play resumed by itself');
        await tap(page, 'pause');
        await becomes(page, 'pause', 'false');
    });
    playing = playing && await check('ESC pauses and asks; "go on" and ESC again resume, "end" ends', async () => {
        const ask = page.locator('#ask');
        await page.keyboard.press('Escape');
        assert.ok(await eventually(2, () => ask.isVisible()), 'ESC did not ask');
        await becomes(page, 'pause', 'true');
        await ask.getByRole('button', { name: 'go on' }).click();
        await becomes(page, 'pause', 'false');
        await page.keyboard.press('Escape');
        assert.ok(await eventually(2, () => ask.isVisible()), 'ESC did not ask a second time');
        await becomes(page, 'pause', 'true');
        await page.keyboard.press('Escape');
        await becomes(page, 'pause', 'false');
        assert.ok(!(await ask.isVisible()), 'the question stayed after ESC');
        await page.keyboard.press('Escape');
        await ask.getByRole('button', { name: 'end' }).click();
        assert.ok(await eventually(10, () => page.locator('#again').isVisible()), 'the game did not end');
        assert.match(await page.locator('#status').textContent(), /has ended/);
    });
    playing = playing && await check('the game played by touch replays on the desktop to the line the page printed', async () => {
        // Every button went to the game as a key through its message queue,
        // so the recording holds them all.
        const line = (page.said.find((l) => /^log: frames \d+, /.test(l)) || '').replace(/^log: /, '');
        assert.ok(line, 'the page printed no end line');
        const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
        const demo = join(out, 'touch.demo');
        writeFileSync(demo, readFileSync(await download.path()));
        const replayed = execFileSync(opt.game, ['--no-vsync', '--play-demo', demo], { encoding: 'utf8',
            env: { ...process.env, SDL_VIDEODRIVER: 'offscreen', SDL_AUDIODRIVER: 'dummy' } }).trim();
        assert.equal(replayed, line, 'the desktop\'s end line');
    });
    await page.context().close();

    const wide = await openPhone(true);
    await check('landscape: the buttons at least 48 px; a tap on the picture leaves the title', async () => {
        await hitAreas(wide);
        const before = await yellowFloorSamples(wide);
        await wide.touchscreen.tap(wide.picture.x + wide.picture.width / 2, wide.picture.y + wide.picture.height / 2);
        let yellow = 0;
        assert.ok(await eventually(10, async () => (yellow = await yellowFloorSamples(wide)) >= 16),
            `${yellow} of 22 floor samples yellow after the tap, ${before} before`);
        if (opt.shots) await wide.screenshot({ path: join(opt.shots, 'touch-landscape.png') });
    });
    await check('while the game asks for a name, the letters type it as keys, and go when it is done', async () => {
        // The game's state as the page reads it, with a name asked for; the
        // keys the letters press, as the game is handed them.
        await wide.evaluate(() => {
            // A program's function, once called, stands in its own place.
            Module._vantrel_state();
            const state = Module._vantrel_state;
            const press = Module._vantrel_press_key;
            window.naming = true;
            window.keysPressed = [];
            Module._vantrel_state = () => state() | (window.naming ? 8 : 0);
            Module._vantrel_press_key = (code, down) => window.keysPressed.push([code, down]);
            window.unhook = () => {
                Module._vantrel_state = state;
                Module._vantrel_press_key = press;
            };
        });
        const letters = wide.locator('#letters');
        assert.ok(await eventually(2, () => letters.isVisible()), 'no letters shown');
        assert.ok(!(await wide.locator('#touch').isVisible()), 'the buttons are still shown');
        for (const name of ['A', 'back', 'Z', 'rub out', 'OK']) {
            const b = letters.getByRole('button', { name, exact: true });
            const box = await b.boundingBox();
            assert.ok(box && box.width >= 48 && box.height >= 48, `"${name}" is ${JSON.stringify(box)}`);
            await wide.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
        }
        const keys = await wide.evaluate(() => window.keysPressed);
        assert.deepEqual(keys, [65, 37, 90, 8, 13].flatMap((code) => [[code, 1], [code, 0]]), 'the keys pressed');
        await wide.evaluate(() => { window.naming = false; window.unhook(); });
        assert.ok(await eventually(2, async () => !(await letters.isVisible())), 'the letters stayed');
    });
    await wide.context().close();
} finally {
    await browser.close();
    await stop();
    rmSync(out, { recursive: true, force: true });
}
if (failures()) {
    console.log(`${failures()} failed`);
    process.exit(1);
}
