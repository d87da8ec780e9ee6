#!/usr/bin/env node
// The web version played in a real browser, as a new player would: Debian's Chromium, headless,
// drawing WebGL 2 on the processor, opens the page from a server on 127.0.0.1, and the test waits
// for the logos and the menu, types a first player's name, clicks through the game mode and the
// opening story into level 1 and sends a worker to the bridge, all with the mouse and keyboard, and
// looks at screenshots at known places on the way (the canvas keeps no drawing buffer, so the
// page's screenshots are read, not the canvas). Then it reloads the page and finds the player
// kept, that the picture scales with the page, and that Quit ends the game the orderly way.
// Screenshots of every step go to the shots folder.
//   node tools/web/browser_test.js BUILD [SHOTS] [--readme docs/shots/web.png]
'use strict';
const fs = require('fs');
const path = require('path');
const { startServer } = require('./serve.js');
const { decodePng } = require('./png.js');

const args = process.argv.slice(2);
const readmeAt = args.indexOf('--readme');
const readmeShot = readmeAt >= 0 ? path.resolve(args.splice(readmeAt, 2)[1]) : null;
const build = path.resolve(args[0] || 'build-web');
const shots = path.resolve(args[1] || path.join(build, 'shots'));
const { chromium } = require(require.resolve('playwright-core', { paths: [path.join(build, 'node'), __dirname] }));

// The canvas is the page less its line of help: at this size one page pixel is one game pixel.
const HELP_LINE = 28;
const VIEW = { width: 1024, height: 768 + HELP_LINE };
const PLAYER = 'Robin';
const USER_FILES = '/home/web_user/.local/share/Meadowmark';

let passed = 0, failed = 0;
const log = (...a) => console.log('browser test:', ...a);
function check(ok, what) {
  if (ok) {
    ++passed;
    log('ok  ', what);
  } else {
    ++failed;
    log('FAIL', what);
  }
  return ok;
}

// ---- Pixels -------------------------------------------------------------------------------------
// The mean colour of a rectangle of a screenshot, and how much its pixels differ from it.
function region(img, x, y, w, h) {
  let r = 0, g = 0, b = 0, n = 0;
  const px = [];
  for (let yy = y; yy < y + h; ++yy)
    for (let xx = x; xx < x + w; ++xx) {
      const i = (yy * img.width + xx) * 4;
      px.push([img.rgba[i], img.rgba[i + 1], img.rgba[i + 2]]);
      r += img.rgba[i];
      g += img.rgba[i + 1];
      b += img.rgba[i + 2];
      ++n;
    }
  const mean = [r / n, g / n, b / n];
  let spread = 0;
  for (const p of px) spread += Math.abs(p[0] - mean[0]) + Math.abs(p[1] - mean[1]) + Math.abs(p[2] - mean[2]);
  return { r: mean[0], g: mean[1], b: mean[2], spread: spread / n / 3 };
}
const isGreen = (c) => c.g > c.r + 15 && c.g > c.b + 15;
const isBlue = (c) => c.b > c.r + 30 && c.b > c.g;
const isDark = (c, below = 60) => c.r + c.g + c.b < below;
const isWood = (c) => c.r > c.g + 15 && c.g > c.b && c.r > 70;  // brown to orange boards
const isPaper = (c) => c.r > 200 && c.g > 185 && c.b > 140;
const describe = (c) => `rgb(${c.r.toFixed(0)}, ${c.g.toFixed(0)}, ${c.b.toFixed(0)}) spread ${c.spread.toFixed(1)}`;
// The share of pixels that differ by more than `tolerance` in any channel between two shots.
function changed(a, b, x, y, w, h, tolerance = 24) {
  let n = 0;
  for (let yy = y; yy < y + h; ++yy)
    for (let xx = x; xx < x + w; ++xx) {
      const i = (yy * a.width + xx) * 4;
      if (Math.abs(a.rgba[i] - b.rgba[i]) > tolerance || Math.abs(a.rgba[i + 1] - b.rgba[i + 1]) > tolerance ||
          Math.abs(a.rgba[i + 2] - b.rgba[i + 2]) > tolerance)
        ++n;
    }
  return n / (w * h);
}

// ---- The page -----------------------------------------------------------------------------------
let page;
let shotNumber = 0;
const named = new Map();
async function screen(name) {
  const png = await page.screenshot({ clip: { x: 0, y: 0, width: 1024, height: 768 } });
  const img = Object.assign(decodePng(png), { png });
  if (name) {
    fs.writeFileSync(path.join(shots, `${String(++shotNumber).padStart(2, '0')}_${name}.png`), png);
    named.set(name, img);
  }
  return img;
}
const screenOf = (name) => named.get(name);
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Takes screenshots until `ok` holds for one (it is returned) or the time is up (null).
async function waitForScreen(ok, seconds, everyMs = 250) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    const img = await screen();
    if (ok(img)) return img;
    await sleep(everyMs);
  }
  return null;
}
// A click as a person makes it: the pointer comes from the side, rests, presses and lets go.
async function click(x, y) {
  await page.mouse.move(x - 30, y, { steps: 3 });
  await page.mouse.move(x, y, { steps: 3 });
  await sleep(150);
  await page.mouse.down();
  await sleep(80);
  await page.mouse.up();
  await sleep(150);
}
const userFile = (name) =>
  page.evaluate((p) => (FS.analyzePath(p).exists ? FS.readFile(p, { encoding: 'utf8' }) : null), `${USER_FILES}/${name}`);
// Waits until the page's storage writes have caught up with the game's saves.
async function storageSettled(seconds) {
  const end = Date.now() + seconds * 1000;
  while (Date.now() < end) {
    const s = await page.evaluate(() => Module.mmUserFilesSaved());
    if (!s.busy) return s;
    await sleep(100);
  }
  return null;
}

// ---- Known places of the demo's screens (game pixels of the 1024 x 768 picture) -----------------
const menuUp = (img) => isWood(region(img, 330, 60, 360, 80)) && isGreen(region(img, 420, 262, 180, 26));
const namePromptUp = (img) => isWood(region(img, 260, 400, 500, 60)) && isDark(region(img, 380, 338, 100, 24), 150);
const storyUp = (img) =>
  isGreen(region(img, 470, 722, 80, 14)) && isPaper(region(img, 70, 650, 880, 30)) && isWood(region(img, 14, 300, 14, 100));
const tipUp = (img) => isPaper(region(img, 100, 300, 150, 10)) && isGreen(region(img, 290, 330, 80, 14));
const levelUp = (img) => isBlue(region(img, 482, 240, 16, 16)) && isWood(region(img, 10, 8, 330, 36));

// The logos, then the loading screen's "press any key": both pass at a click. Resolves to the
// first screenshot for which `arrived` holds, or null.
async function throughLogos(arrived) {
  const shown = await waitForScreen((img) => !isDark(region(img, 0, 0, 1024, 768)), 60);
  check(shown !== null, 'the canvas shows a picture (the logos) once the page has loaded');
  if (!shown) return null;
  await screen('logos');
  for (let i = 0; i < 120; ++i) {
    const img = await screen();
    if (arrived(img)) return img;
    await click(900, 700);
    await sleep(400);
  }
  return null;
}

async function main() {
  fs.mkdirSync(shots, { recursive: true });
  if (!fs.existsSync(path.join(build, 'meadowmark.html'))) throw new Error(`no web build in ${build}: run tools/web/build.sh`);
  const srv = await startServer(build, 0);
  // Chromium as root in a container, WebGL 2 on the processor, and none of the background
  // connections a closed network refuses; the driver gives it a new empty profile. With
  // MM_BROWSER_HEADED=1 it opens a real window (on DISPLAY, for example under xvfb-run).
  const headed = process.env.MM_BROWSER_HEADED === '1';
  const browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: false,
    args: [
      ...(headed ? [] : ['--headless=new']), '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
      '--disable-quic', '--no-first-run', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-features=Translate,MediaRouter',
    ],
  });
  const errors = [];
  try {
    const context = await browser.newContext({ viewport: VIEW });
    page = await context.newPage();
    page.on('pageerror', (e) => errors.push(String(e)));
    page.on('console', (m) => {
      if (m.type() === 'error') errors.push(m.text());
      if (process.env.MM_BROWSER_LOG) log('page:', m.text());
    });
    const started = Date.now();
    await page.goto(srv.url('meadowmark.html'));
    await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: 120000 });
    check(true, `the page loaded the game and its data (${((Date.now() - started) / 1000).toFixed(1)} s)`);
    const page0 = await page.evaluate(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      const help = document.getElementById('help');
      return { x: r.x, y: r.y, w: r.width, h: r.height, bar: document.getElementById('loading').style.display,
               fill: document.getElementById('fill').style.width,
               help: getComputedStyle(help).display !== 'none' ? help.textContent : '' };
    });
    check(page0.x === 0 && page0.y === 0 && page0.w === 1024 && page0.h === 768,
          `the canvas fills the page above the line of help (${page0.w} x ${page0.h} at ${page0.x}, ${page0.y})`);
    check(page0.help.includes('Esc') && page0.help.includes('first click'), 'the line of help is shown');
    check(page0.bar === 'none' && page0.fill === '100%', `the loading bar filled and went once the game ran (${page0.fill})`);

    // ---- A first start: logos, loading, the name, the menu ----
    const soundBefore = await page.evaluate(() => (Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : 'none'));
    let img = await throughLogos(namePromptUp);
    check(img !== null, 'the logos and the loading screen pass at a click, and a first start asks for a name');
    if (!img) throw new Error('the game did not get past its start');
    const sound = await page.evaluate(() => (Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : 'none'));
    check(sound === 'running', `sound plays after the first click (its audio context was ${soundBefore}, now ${sound})`);
    const prompt = await screen('name_prompt');
    const emptyName = region(prompt, 40, 62, 190, 30);
    await page.keyboard.type(PLAYER, { delay: 80 });
    await sleep(400);
    const typed = await screen('name_typed');
    check(changed(prompt, typed, 370, 332, 280, 36) > 0.02, 'the typed name shows in the name field');
    check(isGreen(region(typed, 480, 460, 64, 14)), 'with a name typed the OK button is offered');
    await click(512, 468);  // OK
    img = await waitForScreen(menuUp, 30);
    check(img !== null, 'the main menu opens after the name was given');
    if (!img) throw new Error('no main menu');
    await page.mouse.move(700, 650);
    await sleep(600);
    img = await screen('menu');
    const sign = region(img, 330, 60, 360, 80), play = region(img, 420, 262, 180, 26), meadow = region(img, 20, 650, 200, 60);
    check(isWood(sign), `the title sign hangs at the top (${describe(sign)})`);
    check(isGreen(play), `the Play button is green in the middle (${describe(play)})`);
    check(isGreen(meadow), `the meadow is green at the bottom left (${describe(meadow)})`);
    const greeting = region(img, 40, 62, 190, 30);
    check(greeting.spread > emptyName.spread + 8, `the greeting names the player (${describe(greeting)}; without a name ${describe(emptyName)})`);
    // The mixer's output as the browser plays it: the menu's music is not silence.
    const heard = await page.evaluate(() => new Promise((done) => {
      const node = Module.SDL2 && Module.SDL2.audio && Module.SDL2.audio.scriptProcessorNode;
      if (!node) return done({ peak: -1, blocks: 0 });
      const play = node.onaudioprocess;
      let peak = 0, blocks = 0;
      const stop = () => { node.onaudioprocess = play; done({ peak, blocks }); };
      node.onaudioprocess = (e) => {
        play(e);
        for (let c = 0; c < e.outputBuffer.numberOfChannels; ++c) {
          const d = e.outputBuffer.getChannelData(c);
          for (let i = 0; i < d.length; ++i) peak = Math.max(peak, Math.abs(d[i]));
        }
        if (++blocks === 40) stop();
      };
      setTimeout(stop, 8000);
    }));
    check(heard.blocks >= 40 && heard.peak > 0.01,
          `the game's sound reaches the browser: the menu music peaks at ${heard.peak.toFixed(3)} over ${heard.blocks} blocks`);
    const profile = await userFile('profile.ini');
    check(profile !== null && profile.includes(PLAYER), 'the new player is saved in the user folder');

    // Pointing at Play lights it: the pointer's place on the page is its place in the game.
    await page.mouse.move(512, 276, { steps: 4 });
    await sleep(500);
    const hover = await screen('menu_play_pointed');
    check(changed(img, hover, 404, 256, 216, 40) > 0.05, 'pointing at Play changes the button');

    // ---- Play: the game mode, the opening story, level 1 ----
    await click(512, 276);
    img = await waitForScreen((s) => changed(hover, s, 212, 124, 600, 500) > 0.3, 20);
    check(img !== null, 'Play asks how to play');
    await sleep(800);
    await screen('game_mode');
    await click(397, 599);  // OK: the mode offered
    img = await waitForScreen(storyUp, 30);
    check(img !== null, 'the opening story follows, with its buttons under the picture');
    await sleep(1500);
    await screen('story');
    await click(512, 729);  // Skip: to the story's last page, where the middle button plays
    await sleep(1500);
    await screen('story_end');
    await click(512, 729);  // Play
    img = await waitForScreen(levelUp, 90, 500);
    check(img !== null, 'level 1 loads: the river runs down the middle and the stock boards are at the top');
    if (!img) throw new Error('level 1 did not start');
    const tipShot = await waitForScreen(tipUp, 30);
    check(tipShot !== null, 'level 1 opens with a tip on a paper board, with its OK button');
    if (!tipShot) throw new Error('no tip on level 1');
    await screen('level_1_tip');
    await click(330, 338);  // the tip's OK
    // The tip goes, and the view settles (the level may still be gliding in between bars).
    img = await waitForScreen((s) => changed(tipShot, s, 80, 215, 320, 70) > 0.3 && levelUp(s), 20);
    check(img !== null, 'the tip goes at its OK');
    await sleep(500);
    img = await screen('level_1');
    const river = region(img, 482, 240, 16, 16), boards = region(img, 10, 8, 330, 36), goal = region(img, 752, 102, 12, 12);
    check(isBlue(river), `the river is blue (${describe(river)})`);
    check(isWood(boards), `the stock boards are wood (${describe(boards)})`);
    check(goal.r > goal.g + 60, `the first goal, the bridge, is not met yet: its mark is red (${describe(goal)})`);
    // A worker to the bridge: it walks out of the barn and mends it, and the goal is met.
    await click(520, 430);
    const mended = await waitForScreen((s) => { const g = region(s, 752, 102, 12, 12); return g.g > g.r + 20; }, 60, 500);
    check(mended !== null, 'clicking the broken bridge sends a worker who mends it: the goal turns green');
    const later = await screen('level_1_bridge_mended');
    check(changed(img, later, 450, 405, 140, 40) > 0.1, 'the bridge is drawn mended');
    if (readmeShot) {
      await page.mouse.move(700, 600);
      await sleep(1000);
      await page.screenshot({ path: readmeShot });
      log('README picture written to', readmeShot);
    }

    // ---- A reload keeps the player ----
    const saved = await storageSettled(10);
    check(saved !== null && saved.failed === 0 && saved.done > 0, `the saves reached the browser's storage (${JSON.stringify(saved)})`);
    await page.reload();
    await page.waitForFunction(() => window.Module && Module.calledRun, null, { timeout: 120000 });
    const kept = await userFile('profile.ini');
    check(kept !== null && kept.includes(PLAYER), 'after a reload the player is still in the user folder');
    img = await throughLogos((s) => menuUp(s) || namePromptUp(s));
    check(img !== null && menuUp(img), 'after a reload the game goes straight to the menu, with no name prompt');
    if (img) {
      await page.mouse.move(700, 650);
      await sleep(600);
      img = await screen('menu_after_reload');
      const g = region(img, 40, 62, 190, 30);
      check(changed(screenOf('menu'), img, 40, 62, 190, 30) < 0.05 && g.spread > emptyName.spread + 8,
            `the greeting after the reload names the same player (${describe(g)})`);
      // The way of playing chosen before the reload is kept too: the greeting names it under the
      // name, where a new player's greeting has nothing.
      const before = region(screenOf('menu'), 40, 98, 120, 16), after = region(img, 40, 98, 120, 16);
      check(before.spread < 5 && after.spread > before.spread + 10,
            `the chosen game mode is kept: the greeting shows it under the name (${describe(before)} -> ${describe(after)})`);
    }

    // ---- The picture scales with the page, as with a resized window ----
    await page.setViewportSize({ width: 800, height: 600 + HELP_LINE });
    await sleep(1500);
    const small = decodePng(await page.screenshot({ clip: { x: 0, y: 0, width: 800, height: 600 } }));
    fs.writeFileSync(path.join(shots, `${String(++shotNumber).padStart(2, '0')}_menu_800x600.png`), await page.screenshot());
    const k = 800 / 1024;
    const sPlay = region(small, Math.round(430 * k), Math.round(264 * k), Math.round(160 * k), Math.round(20 * k));
    const sSign = region(small, Math.round(340 * k), Math.round(64 * k), Math.round(340 * k), Math.round(70 * k));
    check(isGreen(sPlay) && isWood(sSign), `at 800 x 600 the menu is drawn scaled to fit (${describe(sPlay)}; ${describe(sSign)})`);
    await page.mouse.move(Math.round(512 * k), Math.round(276 * k), { steps: 4 });
    await sleep(500);
    const sHover = decodePng(await page.screenshot({ clip: { x: 0, y: 0, width: 800, height: 600 } }));
    check(changed(small, sHover, Math.round(404 * k), Math.round(256 * k), Math.round(216 * k), Math.round(40 * k)) > 0.05,
          'and the pointer still finds the Play button in the scaled picture');

    // ---- Quit ends the game the orderly way, and the page says so ----
    await click(Math.round(512 * k), Math.round(587 * k));  // Quit
    await sleep(1500);
    await click(Math.round(420 * k), Math.round(434 * k));  // Yes, leave
    let ended = '';
    for (let i = 0; i < 40 && !ended; ++i) {
      await sleep(500);
      if (i % 4 === 3) await click(Math.round(512 * k), Math.round(600 * k));  // through the closing screens
      ended = await page.evaluate(() => (getComputedStyle(document.getElementById('message')).display !== 'none'
                                          ? document.getElementById('message').textContent : ''));
    }
    fs.writeFileSync(path.join(shots, `${String(++shotNumber).padStart(2, '0')}_ended.png`), await page.screenshot());
    check(ended.includes('has ended'), `Quit, then Yes, ends the game and the page says so ("${ended}")`);
    const last = await storageSettled(10);
    check(last !== null && last.failed === 0, `what the game saved on its way out reached the browser's storage (${JSON.stringify(last)})`);
    check(errors.length === 0, `no errors on the page${errors.length ? ': ' + errors.slice(0, 5).join(' | ') : ''}`);
  } finally {
    await browser.close();
    srv.server.close();
  }
}

main().then(() => {
  console.log(`browser test: ${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
}, (e) => {
  console.log(`browser test: ${e.stack || e}`);
  console.log(`browser test: ${passed} passed, ${failed + 1} failed`);
  process.exit(1);
});
