// The live page: plain HTML and script, no outside files. Everything a client sent (text
// it printed, its address) goes into the page as text nodes, never as markup.
#include "vprinter/web/LivePage.h"

namespace tallyx::vprinter {

namespace {

constexpr char kHead[] = R"(<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="tallyx-token" content="@TOKEN@">
<title>@TITLE@</title>
<style>
body { font: 14px/1.4 sans-serif; margin: 0; background: #5c5c5c; color: #222; }
header { position: sticky; top: 0; background: #eee; padding: 8px 16px; display: flex; flex-wrap: wrap;
         gap: 8px 20px; align-items: center; box-shadow: 0 1px 4px #0006; z-index: 1; }
header h1 { font-size: 17px; margin: 0; }
#status label { margin-right: 10px; white-space: nowrap; }
#message { color: #b00; }
#roll { padding: 16px; display: flex; flex-direction: column; gap: 16px; }
#empty { color: #eee; }
.receipt { display: flex; gap: 16px; align-items: flex-start; }
.receipt img { background: #fff; image-rendering: pixelated; max-width: 100%; height: auto;
               box-shadow: 0 2px 6px #0008; }
.about { background: #f6f6f6; padding: 8px 12px; border-radius: 4px; min-width: 320px; max-width: 720px; flex: 1; }
.about h2 { font-size: 15px; margin: 0 0 4px; }
.about dl { display: grid; grid-template-columns: auto 1fr; gap: 0 12px; margin: 0 0 6px; }
.about dt { color: #666; }
.about dd { margin: 0; }
.log { border-collapse: collapse; font: 12px/1.3 monospace; }
.log td { padding: 1px 8px 1px 0; vertical-align: top; }
.log td:first-child { color: #555; min-width: 12em; max-width: 24em; }
.log td:nth-child(2) { white-space: nowrap; }
.logbox { max-height: 420px; overflow: auto; }
</style></head>
<body>
<header><h1>@TITLE@</h1><span id="status" aria-label="状态"></span>
<button id="clear" type="button">清除全部</button><span id="message" role="status"></span></header>
<main id="roll" aria-live="polite"><p id="empty">还没有小票: 发送到本打印机的小票会出现在这里。</p></main>
)";

constexpr char kScript[] = R"(<script>
"use strict";
const token = document.querySelector('meta[name="tallyx-token"]').content;
const roll = document.getElementById('roll');
const empty = document.getElementById('empty');
const message = document.getElementById('message');
function post(path, body) {
  return fetch(path, {method: 'POST', headers: {'X-Tallyx-Token': token}, body: body})
    .then(r => r.ok ? '' : r.text()).catch(e => String(e))
    .then(text => { message.textContent = text; });
}
function el(tag, text, attrs) {
  const e = document.createElement(tag);
  if (text !== undefined) e.textContent = text;
  for (const k in attrs || {}) e.setAttribute(k, attrs[k]);
  return e;
}
function two(n, w) { return String(n).padStart(w || 2, '0'); }
function when(ms) {
  const d = new Date(ms);
  return d.getFullYear() + '-' + two(d.getMonth() + 1) + '-' + two(d.getDate()) + ' ' + two(d.getHours()) + ':' +
    two(d.getMinutes()) + ':' + two(d.getSeconds()) + '.' + two(d.getMilliseconds(), 3);
}
function showEmpty() { empty.hidden = roll.querySelector('.receipt') !== null; }
function drawStatus(conditions) {
  const box = document.getElementById('status');
  box.replaceChildren();
  for (const c of conditions) {
    const input = el('input', undefined, {type: 'checkbox', 'data-word': c.word});
    input.checked = c.on;
    input.addEventListener('change', () => {
      const words = [...box.querySelectorAll('input:checked')].map(i => i.dataset.word);
      post('/status', words.join(','));
    });
    const label = el('label');
    label.append(input, ' ' + c.label);
    box.append(label);
  }
}
function addReceipt(r) {
  if (document.getElementById('receipt-' + r.number)) return;
  const item = el('article', undefined, {class: 'receipt', id: 'receipt-' + r.number, 'data-cut': r.cut});
  const base = '/receipt/' + r.number;
  item.append(el('img', undefined, {src: base + '.png', width: r.width, height: r.height, alt: '小票 ' + r.number}));
  const about = el('section', undefined, {class: 'about'});
  about.append(el('h2', '小票 ' + r.number));
  const facts = el('dl');
  let bytes = r.byteCount + ' 字节';
  if (r.bytesKept < r.byteCount || !r.bytesFromStart) bytes += ' (下载保留 ' + r.bytesKept + ')';
  let from = r.sources.join(', ');
  if (r.moreSources) from += ' +' + r.moreSources;
  for (const [term, value] of [['时间', when(r.time)], ['来源', from], ['切纸', r.cut], ['数据', bytes]])
    facts.append(el('dt', term), el('dd', value, {'data-fact': term}));
  about.append(facts);
  const links = el('p');
  links.append(el('a', '下载 PNG', {href: base + '.png', download: 'receipt-' + r.number + '.png'}), ' ',
               el('a', '下载字节', {href: base + '.bin', download: 'receipt-' + r.number + '.bin'}));
  about.append(links);
  const details = el('details');
  details.open = true;
  details.append(el('summary', '命令记录 (' + r.logCount + ')'));
  const table = el('table', undefined, {class: 'log'});
  for (const [hex, length, mnemonic, meaning] of r.log) {
    const row = el('tr');
    row.append(el('td', hex + (length > hex.length / 3 + 1 ? ' … (' + length + ')' : '')), el('td', mnemonic),
               el('td', meaning));
    table.append(row);
  }
  if (r.logCount > r.log.length) table.append(el('tr', '… ' + (r.logCount - r.log.length)));
  const box = el('div', undefined, {class: 'logbox'});
  box.append(table);
  details.append(box);
  about.append(details);
  item.append(about);
  roll.insertBefore(item, empty.nextSibling);   // newest first
  showEmpty();
}
document.getElementById('clear').addEventListener('click', () => post('/clear', ''));
const events = new EventSource('/events');
events.addEventListener('reset', () => { roll.querySelectorAll('.receipt').forEach(r => r.remove()); showEmpty(); });
events.addEventListener('clear', () => { roll.querySelectorAll('.receipt').forEach(r => r.remove()); showEmpty(); });
events.addEventListener('status', e => drawStatus(JSON.parse(e.data)));
events.addEventListener('receipt', e => addReceipt(JSON.parse(e.data)));
</script></body></html>
)";

std::string EscapeHtml(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

std::string LivePageHtml(const std::string& title, const std::string& token)
{
    std::string page = std::string(kHead) + kScript;
    ReplaceAll(page, "@TITLE@", EscapeHtml(title));
    ReplaceAll(page, "@TOKEN@", EscapeHtml(token));
    return page;
}

} // namespace tallyx::vprinter
