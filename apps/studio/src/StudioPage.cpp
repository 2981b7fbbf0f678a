// The studio page: the settings pages framed on the left, the Music app's live picture on the right, kept current by server-sent events.
#include "StudioPage.h"

#include <settings/HtmlText.h>

#include <nlohmann/json.hpp>

#include <string_view>

namespace studio {

namespace {

constexpr std::string_view kStyle = R"(
:root { font-family: -apple-system, "DejaVu Sans", sans-serif; }
body { margin: 0; display: grid; grid-template-columns: minmax(22rem, 1fr) minmax(18rem, auto) minmax(16rem, 26rem); height: 100vh;
       background: #f2f2f7; }
#settings { border: none; border-right: 1px solid #c6c6c8; width: 100%; height: 100vh; background: #f2f2f7; }
#app { display: flex; flex-direction: column; align-items: center; gap: .6rem; padding: 1rem 1.5rem; overflow: auto; }
#app h1 { font-size: 1rem; font-weight: 600; margin: 0; }
#picture { height: calc(100vh - 9rem); min-height: 20rem; aspect-ratio: 375 / 812; border-radius: 1.6rem; background: #d8d8dc;
           box-shadow: 0 .4rem 1.6rem #0004; object-fit: contain; }
#status { font-size: .85rem; color: #3c3c43; margin: 0; text-align: center; max-width: 22rem; }
#status.ended { color: #8a1c14; }
#restart { font: inherit; color: #fff; background: #007aff; border: none; border-radius: .5rem; padding: .45rem 1rem; cursor: pointer; }
#restart:disabled { opacity: .5; cursor: default; }
#picture { cursor: crosshair; }
#screen { font: inherit; }
#inspector { border-left: 1px solid #c6c6c8; padding: 1rem; overflow: auto; height: calc(100vh - 2rem); font-size: .8rem; }
#inspector h2 { font-size: .95rem; margin: 0 0 .5rem; }
#inspector .view { margin: 0 0 .8rem; padding: .5rem .6rem; border-radius: .5rem; background: #fff; }
#inspector .view:first-of-type { outline: 2px solid #007aff; }
#inspector .view h3 { font-size: .85rem; margin: 0 0 .2rem; word-break: break-all; }
#inspector .where { color: #6c6c70; margin: 0 0 .3rem; }
#inspector ul { margin: 0; padding-left: 1rem; }
#inspector .swatch { display: inline-block; width: .8em; height: .8em; border: 1px solid #8e8e93; vertical-align: middle; margin-right: .3em; }
#inspector .decision { color: #3c3c43; font-family: "DejaVu Sans Mono", monospace; font-size: .75rem; list-style: none; }
)";

// The picture follows the event stream; a picture number is recorded on the image once that
// picture has loaded. Restart taps the settings page's respring button through the host, as the
// Settings app would; when no app runs any more the studio itself starts one.
constexpr std::string_view kScript = R"(
const picture = document.getElementById('picture');
const status = document.getElementById('status');
const restart = document.getElementById('restart');
let current = { running: false, picture: 0, process: 0 };
let requested = 0;
picture.addEventListener('load', () => { picture.dataset.shown = picture.dataset.requested; });

// The inspector: a click on the picture picks a point in window points; the views under it are
// asked for again whenever a newer description arrives (a setting changed, another screen).
const inspector = document.getElementById('inspector');
const screenChoice = document.getElementById('screen');
let point = null, inspected = 0;
picture.addEventListener('click', event => {
  const box = picture.getBoundingClientRect();
  if (!picture.naturalWidth || box.width <= 0 || box.height <= 0) return;
  const width = picture.naturalWidth / current.scale, height = picture.naturalHeight / current.scale;
  point = { x: (event.clientX - box.left) / box.width * width, y: (event.clientY - box.top) / box.height * height };
  inspected = 0;
  inspect();
});
function element(tag, className, text) {
  const made = document.createElement(tag);
  if (className) made.className = className;
  if (text !== undefined) made.textContent = text;
  return made;
}
function valueText(value) {
  if (value === null || value === undefined) return 'nil';
  if (value.space) return value.hex ? value.hex + (value.rgba && value.rgba[3] < 1 ? ' alpha ' + +value.rgba[3].toFixed(3) : '') : value.space + ' colour';
  if (value.image) return 'image ' + value.image.size[0] + '×' + value.image.size[1] + (value.image.template ? ' template' : '');
  if (value.object) return value.object;
  return JSON.stringify(value);
}
function decisionText(d) {
  return 'entry ' + (d.entry === null ? '?' : d.entry) + ' ' + d.selector + ' step ' + d.step + ': ' + valueText(d.given) + ' → ' + valueText(d.result);
}
function heldList(view, group) {
  const list = element('ul');
  for (const [name, held] of Object.entries(view[group] || {})) {
    const row = element('li');
    row.dataset.held = name;
    const decided = held.decisions.length ? held.decisions[held.decisions.length - 1] : null;
    row.dataset.step = decided ? decided.step : '';
    row.dataset.entry = decided && decided.entry !== null ? decided.entry : '';
    if (held.value && held.value.hex) {
      const swatch = element('span', 'swatch');
      swatch.style.background = held.value.hex;
      row.append(swatch);
    }
    row.append(name + ' ' + valueText(held.value));
    const decisions = element('ul');
    for (const d of held.decisions) decisions.append(element('li', 'decision', decisionText(d)));
    row.append(decisions);
    list.append(row);
  }
  return list;
}
function showViews(reply) {
  inspector.replaceChildren(element('h2', '', 'At (' + +reply.point[0].toFixed(1) + ', ' + +reply.point[1].toFixed(1) + ') on ' + reply.screen + ', topmost first'));
  inspector.dataset.picture = reply.picture;
  inspector.dataset.screen = reply.screen;
  for (const view of reply.views) {
    const box = element('article', 'view');
    box.dataset.id = view.id;
    box.dataset.class = view.class;
    box.append(element('h3', '', view.class + (view.runtimeClass !== view.class ? ' (' + view.runtimeClass + ')' : '')));
    const f = view.frame;
    box.append(element('p', 'where', view.id + ' · ' + f[0] + ',' + f[1] + ' ' + f[2] + '×' + f[3] + (view.owner ? ' · ' + view.owner : '')));
    box.append(heldList(view, 'colours'), heldList(view, 'images'));
    if (view.decisions.length) {
      const other = element('ul');
      for (const d of view.decisions) other.append(element('li', 'decision', decisionText(d)));
      box.append(element('p', 'where', 'other decisions'), other);
    }
    inspector.append(box);
  }
  if (!reply.views.length) inspector.append(element('p', '', 'No view is drawn there.'));
}
async function inspect() {
  if (!point || !current.described || current.described === inspected) return;
  const asked = current.described;
  inspected = asked;
  try {
    const response = await fetch('/studio/inspect?x=' + point.x + '&y=' + point.y);
    const reply = await response.json();
    if (!response.ok) throw new Error(reply.error || 'HTTP ' + response.status);
    showViews(reply);
  } catch (error) {
    inspected = 0;
    inspector.replaceChildren(element('p', '', error.message));
  }
}
screenChoice.addEventListener('change', async () => {
  try {
    await post('/studio/screen', { screen: screenChoice.value });
  } catch (error) {
    status.className = 'ended';
    status.textContent = error.message;
  }
});
function show(state) {
  current = state;
  document.body.dataset.process = state.process;
  document.body.dataset.running = state.running;
  if (state.pictureUrl && state.picture !== requested) {
    requested = state.picture;
    picture.dataset.requested = state.picture;
    picture.src = state.pictureUrl;
  }
  document.body.dataset.screen = state.screen;
  document.body.dataset.described = state.described;
  if (screenChoice.value !== state.screen && document.activeElement !== screenChoice) screenChoice.value = state.screen;
  inspect();
  status.className = state.running ? '' : 'ended';
  if (state.running) status.textContent = 'Drawn by the Music app, process ' + state.process + ' (picture ' + state.picture + ')';
  else status.textContent = state.note ? 'The Music app is not running: ' + state.note : 'Starting the Music app\u2026';
}
const events = new EventSource('/studio/events');
events.addEventListener('studio', event => show(JSON.parse(event.data)));
async function post(url, body) {
  const response = await fetch(url, { method: 'POST', body: JSON.stringify(body),
    headers: { 'Content-Type': 'application/json', 'X-Obscuro-Token': studio.token } });
  let reply = {};
  try { reply = await response.json(); } catch (e) {}
  if (!response.ok) throw new Error(reply.error || 'HTTP ' + response.status);
  return reply;
}
restart.addEventListener('click', async () => {
  restart.disabled = true;
  try {
    if (!current.running && current.note) {
      await post('/studio/start', {});
    } else {
      const rows = await (await fetch(studio.settingsApi)).json();
      const button = rows.find(row => row.action === 'respring');
      if (!button) throw new Error('the settings page has no restart button');
      status.textContent = 'Restarting the Music app\u2026';
      await post(studio.settingsApi + '/tap', { label: button.label });
    }
  } catch (error) {
    status.className = 'ended';
    status.textContent = error.message;
  } finally {
    restart.disabled = false;
  }
});
)";

// JSON placed inside a script element: nothing in it may close the element.
std::string scriptJson(const nlohmann::json& value) {
    std::string text = value.dump();
    std::string out;
    for (char c : text) {
        if (c == '<') out += "\\u003c";
        else out += c;
    }
    return out;
}

std::string screenOptions(const std::vector<std::string>& screens, const std::string& shown) {
    std::string out;
    for (const std::string& name : screens)
        out += "<option value=\"" + settings::escapeHtml(name) + "\"" + (name == shown ? " selected" : "") + ">" + settings::escapeHtml(name) + "</option>";
    return out;
}

}  // namespace

std::string studioPage(const std::string& settingsPage, const std::string& screen, const std::vector<std::string>& screens,
                       const std::string& token) {
    std::string api = settingsPage.starts_with("/pages/") ? "/api" + settingsPage : settingsPage;
    nlohmann::json config = {{"settingsApi", api}, {"screen", screen}, {"token", token}};
    return "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Obscuro studio</title><style>" + std::string(kStyle) +
           "</style></head><body><iframe id=\"settings\" title=\"Settings\" src=\"" + settings::escapeHtml(settingsPage) +
           "\"></iframe><main id=\"app\"><h1><label>Music \u2014 <select id=\"screen\">" + screenOptions(screens, screen) +
           "</select></label></h1><img id=\"picture\" alt=\"The Music app's screen; click a view to see why it looks as it does\">"
           "<p id=\"status\" role=\"status\" aria-live=\"polite\">Starting the Music app\u2026</p>"
           "<button id=\"restart\" type=\"button\">Restart the Music app</button></main>"
           "<aside id=\"inspector\" aria-live=\"polite\"><h2>Inspector</h2><p>Click the picture to see the views there and the "
           "decisions behind their colours.</p></aside><script>const studio = " +
           scriptJson(config) + ";" + std::string(kScript) + "</script></body></html>";
}

}  // namespace studio
