// Functions run in the page (Runtime.callFunctionOn, in an isolated world of
// each frame). They are fixed text: every value from the setting file or the
// page reaches them as a JSON argument, never as part of their source.
#pragma once

namespace devtools_scripts {

// Shared helpers, prepended to the functions below that need them: text that
// survives JSON (no lone surrogates) and an element's outer HTML with a form
// field's current value in its value attribute, shown bare when it is a single
// word, as older browsers did.
#define JOTWELL_PAGE_HELPERS                                                                    \
    "function clean(s) { s = String(s);"                                                        \
    "  return typeof s.toWellFormed === 'function' ? s.toWellFormed()"                          \
    "    : s.replace(/[\\uD800-\\uDFFF]/g, '\\uFFFD'); }"                                        \
    "function outer(e) {"                                                                       \
    "  var tag = e.tagName;"                                                                    \
    "  if (tag !== 'INPUT' && tag !== 'TEXTAREA' && tag !== 'SELECT') return e.outerHTML;"      \
    "  var v = String(e.value), c = e.cloneNode(tag !== 'INPUT');"                              \
    "  c.setAttribute('value', v);"                                                             \
    "  var h = c.outerHTML, q = ' value=\"' + v + '\"', at = h.indexOf(q);"                     \
    "  if (/^[^\\s\"'<>=`&]+$/.test(v) && at >= 0 && at < h.indexOf('>'))"                      \
    "    h = h.slice(0, at) + ' value=' + v + h.slice(at + q.length);"                          \
    "  return h; }"                                                                             \
    "function isField(e) { return e.tagName === 'INPUT' || e.tagName === 'TEXTAREA' || e.tagName === 'SELECT'; }"

// On a document: its title and address.
const char kDocumentInfo[] =
    "function() {" JOTWELL_PAGE_HELPERS " return [clean(this.title), clean(this.URL)]; }";

// On a document: its frame elements that hold a frame, in document order (by reference).
const char kFrameElements[] =
    "function() { return Array.prototype.filter.call(this.querySelectorAll('frame,iframe'),"
    " function(f) { return f.contentWindow !== null; }); }";

// On a document: all its elements in source order (by reference).
const char kAllElements[] = "function() { return Array.prototype.slice.call(this.all); }";

// On that list: its length and, for elements `start` to `start + count - 1`, per
// element [name or null, id, outer HTML cut to `limit` UTF-16 units, its whole
// length, whether it is a form field].
const char kDescribeElements[] =
    "function(start, count, limit) {" JOTWELL_PAGE_HELPERS
    "  var end = Math.min(this.length, start + count), out = [];"
    "  for (var i = start; i < end; i++) {"
    "    var e = this[i], h = outer(e);"
    "    out.push([e.getAttribute('name') === null ? null : clean(e.getAttribute('name')),"
    "              clean(e.getAttribute('id') || ''), clean(h.slice(0, limit)), h.length, isField(e)]);"
    "  }"
    "  return [this.length, out]; }";

// On that list: the whole outer HTML of each element of the index list `at`, null
// for one that is gone.
const char kOuterHtmls[] =
    "function(at) {" JOTWELL_PAGE_HELPERS
    " return at.map(function(i) { var e = this[i]; return e ? clean(outer(e)) : null; }, this); }";

// On that list: writes `text` to element `i` as a user would: an input or text
// area takes it as its value, a select the option of that value (none: left as
// it is), with input and change events; any other element takes it as its text,
// unless its tag name (lower case) is one of `refused`: then it stays as it is and
// the answer is "refused".
const char kWriteText[] =
    "function(i, text, refused) {"
    "  var e = this[i];"
    "  if (!e) throw new Error('element gone');"
    "  if (refused.indexOf(String(e.tagName).toLowerCase()) >= 0) return 'refused';"
    "  var tag = e.tagName;"
    "  if (tag === 'INPUT' || tag === 'TEXTAREA') {"
    "    e.value = text;"
    "  } else if (tag === 'SELECT') {"
    "    var k = -1;"
    "    for (var j = 0; j < e.options.length; j++) if (e.options[j].value === text) { k = j; break; }"
    "    if (k < 0) return false;"
    "    e.selectedIndex = k;"
    "  } else {"
    "    if ('innerText' in e) e.innerText = text; else e.textContent = text;"
    "    return true;"
    "  }"
    "  e.dispatchEvent(new Event('input', { bubbles: true }));"
    "  e.dispatchEvent(new Event('change', { bubbles: true }));"
    "  return true; }";

#undef JOTWELL_PAGE_HELPERS

}  // namespace devtools_scripts
