#include "platform/page_reports.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QWebEngineScript>

namespace sorvi::page_reports {

namespace {

const QString& Tag() {
  // Random per run, so that a page writing to its console cannot pass for
  // the script by accident.
  static const QString tag =
      QStringLiteral("sorvi-%1:").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
  return tag;
}

// Everything the page could replace later (console, JSON, Reflect, URL) is
// taken at document start. Reports go through console.debug of the document
// that made them, so they reach the program before the window request or
// navigation that follows them.
constexpr char kSource[] = R"JS(
(function () {
  'use strict';
  var tag = '%TAG%';
  var con = window.console, debug = con && con.debug;
  var apply = Reflect.apply, stringify = JSON.stringify, Url = URL;
  if (typeof debug !== 'function') return;
  function send(report) {
    try { apply(debug, con, [tag + stringify(report)]); } catch (e) {}
  }
  function absolute(url) {
    if (url === undefined || url === null) return '';
    url = String(url);
    if (url === '') return '';
    try { return new Url(url, document.baseURI).href; } catch (e) { return url; }
  }
  function text(value) { return value === undefined || value === null ? '' : String(value); }
  function baseTarget() {
    var base = document.querySelector('base[target]');
    return base ? base.getAttribute('target') : '';
  }

  var open = window.open;
  window.open = function open_(url, name, features) {
    send({k: 'open', u: absolute(url), n: text(name), f: text(features)});
    return apply(open, this, arguments);
  };

  // A plain left click or Enter on a link; modified clicks open unnamed tabs.
  window.addEventListener('click', function (e) {
    if (e.button !== 0 || e.ctrlKey || e.shiftKey || e.metaKey || e.altKey) return;
    var node = e.target;
    var link = node && node.closest ? node.closest('a[href], area[href]') : null;
    if (!link) return;
    var target = link.hasAttribute('target') ? link.getAttribute('target') : baseTarget();
    if (target) send({k: 'target', u: link.href, n: target});
  }, true);

  function reportForm(form, submitter) {
    var target = submitter && submitter.hasAttribute('formtarget') ? submitter.getAttribute('formtarget')
               : form.hasAttribute('target') ? form.getAttribute('target') : baseTarget();
    var action = submitter && submitter.hasAttribute('formaction') ? submitter.formAction : form.action;
    if (target) send({k: 'target', u: absolute(action), n: target});
  }
  window.addEventListener('submit', function (e) {
    if (e.target instanceof HTMLFormElement) reportForm(e.target, e.submitter);
  }, true);
  // submit() fires no submit event.
  var submit = HTMLFormElement.prototype.submit;
  HTMLFormElement.prototype.submit = function submit_() {
    if (this instanceof HTMLFormElement) reportForm(this, null);
    return apply(submit, this, arguments);
  };

  // Once per document: what the user typed or chose would be lost by a
  // new load. Fields a script fills fire no events.
  var edited = false;
  function onEdit(e) {
    if (edited || !e.isTrusted) return;
    edited = true;
    send({k: 'edited'});
  }
  window.addEventListener('input', onEdit, true);
  window.addEventListener('change', onEdit, true);

  if (window !== window.top) return;
  // Any page may close its tab, not only a page a script opened.
  window.close = function close_() { send({k: 'close'}); };
  var name = Object.getOwnPropertyDescriptor(window, 'name');
  if (name && name.configurable && name.get && name.set) {
    Object.defineProperty(window, 'name', {
      configurable: true,
      enumerable: name.enumerable,
      get: function () { return apply(name.get, window, []); },
      set: function (value) {
        apply(name.set, window, [value]);
        send({k: 'name', n: apply(name.get, window, [])});
      }
    });
  }
  send({k: 'name', n: window.name});
})();
)JS";

}  // namespace

QWebEngineScript Script() {
  QWebEngineScript script;
  script.setName(QStringLiteral("sorvi-page-reports"));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  // The page's own world: window.open and window.close are the page's.
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  QString source = QString::fromUtf8(kSource);
  source.replace(QStringLiteral("%TAG%"), Tag());
  script.setSourceCode(source);
  return script;
}

std::optional<Report> Parse(const QString& message) {
  if (!message.startsWith(Tag())) return std::nullopt;
  const QJsonObject object = QJsonDocument::fromJson(message.mid(Tag().size()).toUtf8()).object();
  const QString kind = object.value(QStringLiteral("k")).toString();
  Report report;
  if (kind == QLatin1String("open")) {
    report.kind = Report::Kind::Open;
  } else if (kind == QLatin1String("target")) {
    report.kind = Report::Kind::Target;
  } else if (kind == QLatin1String("name")) {
    report.kind = Report::Kind::Name;
  } else if (kind == QLatin1String("close")) {
    report.kind = Report::Kind::Close;
  } else if (kind == QLatin1String("edited")) {
    report.kind = Report::Kind::Edited;
  } else {
    return std::nullopt;
  }
  report.url = object.value(QStringLiteral("u")).toString();
  report.name = object.value(QStringLiteral("n")).toString();
  report.features = object.value(QStringLiteral("f")).toString();
  return report;
}

}  // namespace sorvi::page_reports
