// The Settings host's HTML: grouped rows as the phone lays them out, and the script that writes through the host's API.
#include "PageHtml.h"

#include <string_view>

namespace settings {

namespace {

constexpr std::string_view kStyle = R"(
:root { color-scheme: light dark; font-family: -apple-system, "DejaVu Sans", sans-serif; }
body { margin: 0 auto; max-width: 40rem; padding: 1rem; background: #f2f2f7; color: #000; }
@media (prefers-color-scheme: dark) { body { background: #000; color: #fff; } section ul { background: #1c1c1e; } }
h1 { font-size: 1.6rem; } nav a { margin-right: 1rem; }
section h2 { font-size: .8rem; text-transform: uppercase; color: #6d6d72; margin: 1.5rem 1rem .4rem; font-weight: normal; }
section ul { list-style: none; margin: 0; padding: 0; background: #fff; border-radius: 10px; }
section li { display: flex; align-items: center; justify-content: space-between; gap: 1rem; padding: .7rem 1rem; border-bottom: 1px solid #c6c6c866; }
section li:last-child { border-bottom: none; }
section p.footer { font-size: .8rem; color: #6d6d72; margin: .4rem 1rem; }
li button { font: inherit; color: #007aff; background: none; border: none; padding: 0; cursor: pointer; }
li a { color: inherit; text-decoration: none; width: 100%; } li a::after { content: "›"; float: right; color: #c7c7cc; }
.colour { display: flex; gap: .5rem; align-items: center; } .colour input[type=text] { width: 8rem; font-family: monospace; }
#status:empty { display: none; } #status { padding: .5rem 1rem; border-radius: 8px; }
#status.error { background: #ffd7d5; color: #8a1c14; } #status.note { background: #dff3e4; color: #124a22; }
)";

// Every control writes its own key through the host and shows what the host stored; a refusal
// is shown on the page and leaves the control as the file has it.
constexpr std::string_view kScript = R"(
const token = document.querySelector('meta[name="obscuro-token"]').content;
const api = location.pathname.replace(/^\/pages\//, '/api/pages/');
const status = document.getElementById('status');
function show(kind, html) { status.className = kind; status.innerHTML = html; }
function escape(text) { const d = document.createElement('div'); d.textContent = text; return d.innerHTML; }
async function post(action, body) {
  const response = await fetch(api + '/' + action, { method: 'POST',
    headers: { 'Content-Type': 'application/json', 'X-Obscuro-Token': token }, body: JSON.stringify(body) });
  let reply = {};
  try { reply = await response.json(); } catch (e) { reply = { error: 'HTTP ' + response.status }; }
  if (!response.ok) throw new Error(reply.error || ('HTTP ' + response.status));
  return reply;
}
function hexForPicker(text) {
  let m = /^\s*#([0-9a-f]{3}|[0-9a-f]{6})(:[0-9.]+)?\s*$/i.exec(text || '');
  if (!m) return '#000000';
  let h = m[1]; if (h.length === 3) h = h.split('').map(c => c + c).join('');
  return '#' + h.toLowerCase();
}
function display(key, value) {
  for (const control of document.querySelectorAll('[data-key="' + CSS.escape(key) + '"]')) {
    if (control.type === 'checkbox') control.checked = value === true;
    else if (control.tagName === 'SELECT') control.value = JSON.stringify(value);
    else if (control.type === 'color') control.value = hexForPicker(value);
    else control.value = value === null ? '' : String(value);
  }
}
async function write(key, value) {
  try {
    const reply = await post('set', { key, value });
    display(reply.key, reply.value);
    show('note', 'Saved ' + escape(key) + '.');
  } catch (error) {
    show('error', escape(error.message));
    try { const rows = await (await fetch(api)).json(); for (const row of rows) if (row.key === key) display(key, row.value); } catch (e) {}
  }
}
for (const picker of document.querySelectorAll('.colour input[type=color]'))
  picker.value = hexForPicker(picker.nextElementSibling.value);
for (const control of document.querySelectorAll('[data-key]')) {
  const key = control.dataset.key;
  control.addEventListener('change', () => {
    if (control.type === 'checkbox') write(key, control.checked);
    else if (control.tagName === 'SELECT') write(key, JSON.parse(control.value));
    else if (control.type === 'color') write(key, control.value.toUpperCase());
    else write(key, control.value);
  });
}
for (const button of document.querySelectorAll('button[data-label]')) {
  button.addEventListener('click', async () => {
    try {
      const outcome = await post('tap', { label: button.dataset.label });
      const lines = [];
      for (const url of outcome.opened) {
        lines.push('Opened <a href="' + escape(url) + '" target="_blank" rel="noopener">' + escape(url) + '</a>');
        if (/^(https?|mailto):/i.test(url)) window.open(url, '_blank', 'noopener');
      }
      for (const spawn of outcome.spawned) lines.push('Ran ' + escape(spawn.path + ' ' + spawn.args.slice(1).join(' ')));
      show('note', lines.join('<br>') || escape(button.dataset.label) + ' done.');
    } catch (error) { show('error', escape(error.message)); }
  });
}
)";

std::string attribute(const nlohmann::json& value) { return escapeHtml(value.is_string() ? value.get<std::string>() : value.dump()); }

std::string stringOr(const nlohmann::json& row, const char* field, const std::string& fallback = "") {
    auto it = row.find(field);
    return it != row.end() && it->is_string() ? it->get<std::string>() : fallback;
}

std::string control(const nlohmann::json& row) {
    std::string cell = stringOr(row, "cell");
    std::string key = stringOr(row, "key");
    nlohmann::json value = row.value("value", nlohmann::json());
    std::string keyAttribute = " data-key=\"" + escapeHtml(key) + "\"";
    std::string label = escapeHtml(stringOr(row, "label"));
    if (row.contains("colour")) {
        std::string stored = value.is_string() ? value.get<std::string>() : "";
        return "<span>" + label + "</span><span class=\"colour\"><input type=\"color\" aria-label=\"" + label + " colour\"" + keyAttribute +
               "><input type=\"text\" aria-label=\"" + label + "\"" + keyAttribute + " value=\"" + escapeHtml(stored) + "\"></span>";
    }
    if (cell == "PSSwitchCell")
        return "<label for=\"" + escapeHtml(key) + "\">" + label + "</label><input type=\"checkbox\" role=\"switch\" id=\"" + escapeHtml(key) +
               "\"" + keyAttribute + (value == true ? " checked" : "") + ">";
    if (row.contains("choices")) {
        std::string options;
        for (const auto& choice : row["choices"])
            options += "<option value=\"" + escapeHtml(choice["value"].dump()) + "\"" + (choice["value"] == value ? " selected" : "") + ">" +
                       escapeHtml(stringOr(choice, "title")) + "</option>";
        return "<label for=\"" + escapeHtml(key) + "\">" + label + "</label><select id=\"" + escapeHtml(key) + "\"" + keyAttribute + ">" +
               options + "</select>";
    }
    if (!key.empty())
        return "<label for=\"" + escapeHtml(key) + "\">" + label + "</label><input type=\"" +
               std::string(cell == "PSSecureEditTextCell" ? "password" : "text") + "\" id=\"" + escapeHtml(key) + "\"" + keyAttribute +
               " value=\"" + (value.is_null() ? "" : attribute(value)) + "\">";
    if (!row["action"].is_null()) return "<button type=\"button\" data-label=\"" + escapeHtml(stringOr(row, "label")) + "\">" + label + "</button>";
    if (row.contains("page")) return "<a href=\"" + escapeHtml(row["page"].get<std::string>()) + "\">" + label + "</a>";
    return "<span>" + label + "</span>";
}

}  // namespace

std::string renderIndex(const std::vector<Page>& pages) {
    std::string body = "<h1>Settings</h1>";
    std::string bundle;
    for (const auto& page : pages) {
        if (page.bundle != bundle) {
            if (!bundle.empty()) body += "</ul></section>";
            bundle = page.bundle;
            body += "<section><h2>" + escapeHtml(page.label) + "</h2><ul>";
        }
        body += "<li><a href=\"/pages/" + escapeHtml(page.bundle) + "/" + escapeHtml(page.name) + "\">" + escapeHtml(page.name) + "</a></li>";
    }
    if (!bundle.empty()) body += "</ul></section>";
    return "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><title>Settings</title><style>" + std::string(kStyle) +
           "</style></head><body>" + body + "</body></html>";
}

std::string renderPage(const Page& page, const std::string& title, const nlohmann::json& rows, const std::string& token) {
    std::string body = "<nav><a href=\"/\">Settings</a>";
    if (page.name != "Root") body += "<a href=\"Root\">" + escapeHtml(page.label) + "</a>";
    body += "</nav><h1>" + escapeHtml(title) + "</h1><div id=\"status\" role=\"status\" aria-live=\"polite\"></div>";
    bool open = false;
    std::string footer;
    auto closeGroup = [&] {
        if (!open) return;
        body += "</ul>";
        if (!footer.empty()) body += "<p class=\"footer\">" + escapeHtml(footer) + "</p>";
        body += "</section>";
        open = false;
    };
    for (const auto& row : rows) {
        if (stringOr(row, "cell") == "PSGroupCell") {
            closeGroup();
            footer = stringOr(row, "footerText");
            body += "<section><h2>" + escapeHtml(stringOr(row, "label")) + "</h2><ul>";
            open = true;
            continue;
        }
        if (!open) {
            footer.clear();
            body += "<section><ul>";
            open = true;
        }
        body += "<li>" + control(row) + "</li>";
    }
    closeGroup();
    return "<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"obscuro-token\" content=\"" + escapeHtml(token) +
           "\"><title>" + escapeHtml(title) + "</title><style>" + std::string(kStyle) + "</style></head><body>" + body + "<script>" +
           std::string(kScript) + "</script></body></html>";
}

}  // namespace settings
