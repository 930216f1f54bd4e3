#include "platform/page_marks.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

#include "core/help/help_tab.h"
#include "platform/web_browser.h"
#include "platform/web_engine_profile.h"

namespace sorvi::page_marks {
namespace {

// The finding rule is the one of core/codes/codes_in_text; keep them alike.
// Own changes to the page are taken out of the observer's records at once,
// so only the page's changes lead to marking again (at most four times a
// second, only the parts that changed).
constexpr char kSource[] = R"JS(
(function () {
  'use strict';
  if (window.__sorviMarks) { window.__sorviMarks.setTable(%TABLE%); return; }
  var help = '%HELP%';
  if (location.protocol === 'file:' && location.pathname.split('/').pop().indexOf(help) === 0) return;
  var JOINTS = ',.:/，．：／', SIGNS = '+-−＋－¥￥$＄△▲▼', SUFFIXES = '円%％株倍年月日時分秒件人位';
  var REFUSED = 'BEIOQVZ', TAG = 'sorvi-mark';
  var TEXTLESS = 'script,style,noscript,textarea,select,option,title', SKIP = TEXTLESS + ',' + TAG;
  var STYLE = 'all:unset;background-color:#ffe36b;';
  var table = {}, count = 0, pending = null, last = 0, observer = null, contextTarget = null;

  function narrow(c) { return c >= 0xFF01 && c <= 0xFF5E ? c - 0xFEE0 : c; }
  function isDigit(c) { c = narrow(c); return c >= 48 && c <= 57; }
  function isWord(c) { c = narrow(c); return (c >= 48 && c <= 57) || (c >= 65 && c <= 90) || (c >= 97 && c <= 122) || c === 95; }
  function codeAt(s, i) {
    if (i + 4 > s.length) return null;
    var code = '';
    for (var k = 0; k < 4; ++k) {
      var n = narrow(s.charCodeAt(i + k)), ch = String.fromCharCode(n);
      if (n >= 48 && n <= 57) code += ch;
      else if (k % 2 === 1 && n >= 65 && n <= 90 && REFUSED.indexOf(ch) < 0) code += ch;
      else return null;
    }
    if (i > 0) {
      var b = s.charAt(i - 1);
      if (isWord(s.charCodeAt(i - 1)) || SIGNS.indexOf(b) >= 0) return null;
      if (JOINTS.indexOf(b) >= 0 && i > 1 && isDigit(s.charCodeAt(i - 2))) return null;
    }
    if (i + 4 < s.length) {
      var a = s.charAt(i + 4);
      if (isWord(s.charCodeAt(i + 4)) || SUFFIXES.indexOf(a) >= 0) return null;
      if (JOINTS.indexOf(a) >= 0 && i + 5 < s.length && isDigit(s.charCodeAt(i + 5))) return null;
    }
    return code;
  }
  var HAS_DIGIT = /[0-9０-９]/;
  function wanted(node) {
    var p = node.parentElement;
    if (!p || node.data.length < 4 || !HAS_DIGIT.test(node.data)) return false;
    return !p.closest(SKIP) && !p.isContentEditable;
  }
  function wrap(node) {
    var s = node.data, parts = [], from = 0;
    for (var i = 0; i + 4 <= s.length; ++i) {
      var code = codeAt(s, i);
      if (code === null) continue;
      if (Object.prototype.hasOwnProperty.call(table, code)) {
        if (i > from) parts.push(document.createTextNode(s.substring(from, i)));
        var mark = document.createElement(TAG);
        mark.setAttribute('style', STYLE);
        mark.setAttribute('title', table[code]);
        mark.setAttribute('data-code', code);
        mark.textContent = s.substring(i, i + 4);
        parts.push(mark);
        from = i + 4;
      }
      i += 3;
    }
    if (!parts.length) return;
    if (from < s.length) parts.push(document.createTextNode(s.substring(from)));
    var fragment = document.createDocumentFragment();
    parts.forEach(function (part) { fragment.appendChild(part); });
    node.parentNode.replaceChild(fragment, node);
  }
  function mark(root) {
    if (!count || !root || !root.isConnected) return;
    if (root.nodeType === Node.TEXT_NODE) { if (wanted(root)) wrap(root); return; }
    if (root.nodeType !== Node.ELEMENT_NODE || (root.closest && root.closest(SKIP))) return;
    var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT), nodes = [];
    while (walker.nextNode()) if (wanted(walker.currentNode)) nodes.push(walker.currentNode);
    nodes.forEach(wrap);
  }
  function unmarkAll() {
    document.querySelectorAll(TAG).forEach(function (m) {
      var parent = m.parentNode;
      parent.replaceChild(document.createTextNode(m.textContent), m);
      parent.normalize();
    });
  }
  function markAll() {
    var started = performance.now();
    mark(document.body);
    if (observer) observer.takeRecords();
    api.lastMs = performance.now() - started;
  }
  function changed(records) {
    if (!pending) pending = new Set();
    records.forEach(function (r) {
      if (r.type === 'characterData') pending.add(r.target);
      else r.addedNodes.forEach(function (n) { pending.add(n); });
    });
    if (pending.timer) return;
    pending.timer = setTimeout(function () {
      var roots = pending;
      pending = null;
      last = performance.now();
      roots.forEach(mark);
      observer.takeRecords();
    }, Math.max(0, last + 250 - performance.now()));
  }
  function rowOf(node) {
    var el = node && (node.nodeType === Node.ELEMENT_NODE ? node : node.parentElement);
    var row = el && el.closest('tr, li, dl, [role=row]');
    if (!row) return [];
    var cells = row.querySelectorAll('td, th, dt, dd, [role=cell], [role=gridcell]');
    if (!cells.length) cells = [row];
    return Array.prototype.map.call(cells, function (c) { return c.innerText; });
  }
  var api = {
    lastMs: 0,
    setTable: function (t) {
      unmarkAll();
      table = t || {};
      count = Object.keys(table).length;
      markAll();
    },
    table: function () { return table; },
    contextRow: function () { return rowOf(contextTarget); },
    // Every code the page shows, in its order, whether in the table or not.
    codes: function () {
      var found = [], root = document.body || document.documentElement;
      var walker = document.createTreeWalker(root, NodeFilter.SHOW_TEXT);
      while (walker.nextNode()) {
        var node = walker.currentNode, p = node.parentElement, s = node.data;
        if (!p || s.length < 4 || !HAS_DIGIT.test(s) || p.closest(TEXTLESS) || p.isContentEditable) continue;
        for (var i = 0; i + 4 <= s.length; ++i) {
          var code = codeAt(s, i);
          if (code !== null) { found.push(code); i += 3; }
        }
      }
      return found;
    },
  };
  Object.defineProperty(window, '__sorviMarks', {value: api});
  window.addEventListener('contextmenu', function (e) { contextTarget = e.target; }, true);
  function start() {
    api.setTable(%TABLE%);
    observer = new MutationObserver(changed);
    observer.observe(document.documentElement, {childList: true, subtree: true, characterData: true});
  }
  if (document.body) start(); else document.addEventListener('DOMContentLoaded', start);
})();
)JS";

const QString kScriptName = QStringLiteral("sorvi-marks");

QString& TableJson() {
  static QString json = QStringLiteral("{}");
  return json;
}

QWebEngineScript MakeScript() {
  QString source = QString::fromUtf8(kSource);
  source.replace(QStringLiteral("%HELP%"), QString::fromUtf8(kHelpFileName.data(), qsizetype(kHelpFileName.size())));
  source.replace(QStringLiteral("%TABLE%"), TableJson());
  QWebEngineScript script;
  script.setName(kScriptName);
  script.setSourceCode(source);
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::ApplicationWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace

void SetStocks(const QList<Stock>& stocks) {
  QJsonObject table;
  for (const Stock& stock : stocks) table.insert(stock.code, stock.tooltip);
  const QString json = QString::fromUtf8(QJsonDocument(table).toJson(QJsonDocument::Compact));
  if (json == TableJson()) return;
  TableJson() = json;
  if (!WebEngine::IsStarted()) return;
  Install(web_engine::Profile());
  const QString update = QStringLiteral("window.__sorviMarks && window.__sorviMarks.setTable(%1);").arg(json);
  for (WebBrowser* browser : web_engine::Browsers()) browser->RunJavaScriptApart(update);
}

void Install(QWebEngineProfile* profile) {
  QWebEngineScriptCollection* scripts = profile->scripts();
  for (const QWebEngineScript& old : scripts->find(kScriptName)) scripts->remove(old);
  scripts->insert(MakeScript());
}

QString CodesScript() { return QStringLiteral("window.__sorviMarks ? window.__sorviMarks.codes() : []"); }

QString ContextRowScript() { return QStringLiteral("window.__sorviMarks ? window.__sorviMarks.contextRow() : []"); }

}  // namespace sorvi::page_marks
