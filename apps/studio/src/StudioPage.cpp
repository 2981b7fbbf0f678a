// The studio page: the settings pages framed on the left, the Music app's live picture on the right, kept current by server-sent events.
#include "StudioPage.h"

#include <settings/HtmlText.h>

#include <nlohmann/json.hpp>

#include <string_view>

namespace studio {

namespace {

constexpr std::string_view kStyle = R"(
:root { font-family: -apple-system, "DejaVu Sans", sans-serif; }
body { margin: 0; display: grid; grid-template-columns: minmax(22rem, 1fr) minmax(18rem, auto); height: 100vh; background: #f2f2f7; }
#settings { border: none; border-right: 1px solid #c6c6c8; width: 100%; height: 100vh; background: #f2f2f7; }
#app { display: flex; flex-direction: column; align-items: center; gap: .6rem; padding: 1rem 1.5rem; overflow: auto; }
#app h1 { font-size: 1rem; font-weight: 600; margin: 0; }
#picture { height: calc(100vh - 9rem); min-height: 20rem; aspect-ratio: 375 / 812; border-radius: 1.6rem; background: #d8d8dc;
           box-shadow: 0 .4rem 1.6rem #0004; object-fit: contain; }
#status { font-size: .85rem; color: #3c3c43; margin: 0; text-align: center; max-width: 22rem; }
#status.ended { color: #8a1c14; }
#restart { font: inherit; color: #fff; background: #007aff; border: none; border-radius: .5rem; padding: .45rem 1rem; cursor: pointer; }
#restart:disabled { opacity: .5; cursor: default; }
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
function show(state) {
  current = state;
  document.body.dataset.process = state.process;
  document.body.dataset.running = state.running;
  if (state.pictureUrl && state.picture !== requested) {
    requested = state.picture;
    picture.dataset.requested = state.picture;
    picture.src = state.pictureUrl;
  }
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

}  // namespace

std::string studioPage(const std::string& settingsPage, const std::string& screen, const std::string& token) {
    std::string api = settingsPage.starts_with("/pages/") ? "/api" + settingsPage : settingsPage;
    nlohmann::json config = {{"settingsApi", api}, {"screen", screen}, {"token", token}};
    return "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Obscuro studio</title><style>" + std::string(kStyle) +
           "</style></head><body><iframe id=\"settings\" title=\"Settings\" src=\"" + settings::escapeHtml(settingsPage) +
           "\"></iframe><main id=\"app\"><h1>Music \u2014 " + settings::escapeHtml(screen) + "</h1><img id=\"picture\" alt=\"The Music app's " +
           settings::escapeHtml(screen) +
           " screen\"><p id=\"status\" role=\"status\" aria-live=\"polite\">Starting the Music app\u2026</p>"
           "<button id=\"restart\" type=\"button\">Restart the Music app</button></main><script>const studio = " +
           scriptJson(config) + ";" + std::string(kScript) + "</script></body></html>";
}

}  // namespace studio
