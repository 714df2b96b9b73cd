// What the page's tests share: waiting, checks that print a line each, the
// site served by the project's own server, Debian's Chromium as the tests
// drive it, and the colours of a screenshot read by png_pixels.
import { execFileSync, spawn } from 'node:child_process';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const serverScript = join(dirname(fileURLToPath(import.meta.url)), '..', '..', 'tools', 'web-serve.mjs');

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Asks CHECK every EVERY ms until it gives something truthy, for up to
// SECONDS; gives the last answer.
export async function eventually(seconds, check, every = 200) {
    const end = Date.now() + seconds * 1000;
    for (;;) {
        const answer = await check();
        if (answer || Date.now() > end) return answer;
        await sleep(every);
    }
}

// Runs one check: "ok NAME (what it gives back)" or "FAIL NAME: why".
// True when it passed; failures() counts those that did not.
let failed = 0;
export async function check(name, body) {
    try {
        const detail = await body();
        console.log(`ok   ${name}${detail ? ` (${detail})` : ''}`);
        return true;
    } catch (e) {
        ++failed;
        console.log(`FAIL ${name}: ${e.message}`);
        return false;
    }
}
export const failures = () => failed;

// tools/web-serve.mjs serving ARGS (its options, then its folders) on
// 127.0.0.1: the server, the address it serves at, and stop(), which
// resolves once it has ended.
export async function serve(...args) {
    const server = spawn(process.execPath, [serverScript, ...args], { stdio: ['ignore', 'pipe', 'inherit'] });
    const url = await new Promise((resolve, reject) => {
        let text = '';
        server.stdout.on('data', (chunk) => {
            const found = /on (http:\/\/127\.0\.0\.1:\d+\/)\n/.exec(text += chunk);
            if (found) resolve(found[1]);
        });
        server.on('exit', (code) => reject(new Error(`the server ended (status ${code}) before serving`)));
    });
    const stop = () => new Promise((resolve) => {
        if (server.exitCode !== null || server.signalCode !== null) return resolve();
        server.once('exit', resolve);
        server.kill();
    });
    return { server, url, stop };
}

// Debian's Chromium, headless, with WebGL 1 by ANGLE on SwiftShader (which
// headless has only with the GPU process left on), and nothing of its own
// going to the network. Playwright gives it a fresh profile unless given one.
export const browserOptions = {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--disable-gpu-sandbox',
        '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update',
        '--disable-sync'],
};

// The colours ("r g b" each, as numbers) at points [[x, y], ...] of a
// screenshot of the page cut to CLIP (the whole viewport when null), saved
// as FILE and read by the png_pixels program PIXELS.
export async function screenshotColours(page, { file, clip = null, pixels, points }) {
    await page.screenshot(clip ? { path: file, clip } : { path: file });
    const text = execFileSync(pixels, [file, ...points.flat().map(String)], { encoding: 'utf8' });
    return text.trim().split('\n').map((line) => line.split(' ').map(Number));
}
