#include "platform/x11/window_search.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace platform {
namespace {

// xcb reports errors with each reply: a window that vanishes in the middle of a search only
// makes its own requests fail, and nothing can end the process the way Xlib's default error
// handler does. Requests are sent in batches and their replies collected afterwards, so a
// search costs a few round trips, not one per window.

struct Disconnect {
  void operator()(xcb_connection_t* c) const { xcb_disconnect(c); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Take(Reply* reply) {
  return ReplyPtr<Reply>(reply, &std::free);
}

// Frames of a window manager hold the client a level or two down; this is deep enough for
// every manager in use without walking whole widget trees.
constexpr int kMaxDepth = 4;

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameTitle(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::string Utf8FromLatin1(std::string_view latin1) {
  std::string utf8;
  for (char c : latin1) {
    auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | (b >> 6));
      utf8 += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return utf8;
}

struct Atoms {
  xcb_atom_t netWmName = XCB_ATOM_NONE;
  xcb_atom_t utf8String = XCB_ATOM_NONE;
  xcb_atom_t compoundText = XCB_ATOM_NONE;
  xcb_atom_t wmState = XCB_ATOM_NONE;
};

Atoms InternAtoms(xcb_connection_t* c) {
  const char* names[] = {"_NET_WM_NAME", "UTF8_STRING", "COMPOUND_TEXT", "WM_STATE"};
  xcb_intern_atom_cookie_t cookies[4];
  for (int i = 0; i < 4; ++i) {
    cookies[i] = xcb_intern_atom(c, 1, static_cast<uint16_t>(std::string_view(names[i]).size()),
                                 names[i]);
  }
  xcb_atom_t atoms[4] = {};
  for (int i = 0; i < 4; ++i) {
    auto reply = Take(xcb_intern_atom_reply(c, cookies[i], nullptr));
    if (reply) atoms[i] = reply->atom;
  }
  return {atoms[0], atoms[1], atoms[2], atoms[3]};
}

// The title held by a WM_NAME or _NET_WM_NAME reply, as UTF-8; false when it cannot be read as
// text or is longer than what was asked for (then it cannot equal the title sought).
bool TitleOf(const xcb_get_property_reply_t* reply, const Atoms& atoms, std::string& title) {
  if (!reply || reply->format != 8 || reply->bytes_after != 0) return false;
  std::string_view bytes(static_cast<const char*>(xcb_get_property_value(reply)),
                         static_cast<size_t>(xcb_get_property_value_length(reply)));
  if (reply->type == atoms.utf8String) {
    title = bytes;
    return true;
  }
  // COMPOUND_TEXT starts out as Latin-1; with escape sequences it switches character sets,
  // which a title sought here never needs.
  if (reply->type == XCB_ATOM_STRING ||
      (reply->type == atoms.compoundText && bytes.find('\x1b') == std::string_view::npos)) {
    title = Utf8FromLatin1(bytes);
    return true;
  }
  return false;
}

struct Pending {
  xcb_window_t window;
  bool needsState;  // below the top level, only client windows (those with WM_STATE) count
  xcb_get_property_cookie_t wmName, netWmName, wmState;
};

}  // namespace

uint32_t FindTopLevelWindow(std::string_view title) {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return 0;
  Connection c(xcb_connect(display, nullptr));
  if (!c || xcb_connection_has_error(c.get())) return 0;
  Atoms atoms = InternAtoms(c.get());

  // Enough of each name to tell whether it equals the title: a Latin-1 byte may stand for two
  // UTF-8 bytes, so the title's length in 32-bit units, plus one, always suffices.
  auto length = static_cast<uint32_t>(title.size() / 4 + 2);

  std::vector<xcb_window_t> level;
  const xcb_setup_t* setup = xcb_get_setup(c.get());
  for (auto it = xcb_setup_roots_iterator(setup); it.rem; xcb_screen_next(&it))
    level.push_back(it.data->root);

  for (int depth = 1; depth <= kMaxDepth && !level.empty(); ++depth) {
    // The children of this level's windows.
    std::vector<xcb_query_tree_cookie_t> trees;
    for (xcb_window_t w : level) trees.push_back(xcb_query_tree(c.get(), w));
    std::vector<Pending> pending;
    for (auto cookie : trees) {
      auto reply = Take(xcb_query_tree_reply(c.get(), cookie, nullptr));
      if (!reply) continue;
      const xcb_window_t* children = xcb_query_tree_children(reply.get());
      int count = xcb_query_tree_children_length(reply.get());
      for (int i = 0; i < count; ++i) {
        Pending p{};
        p.window = children[i];
        p.needsState = depth > 1;
        pending.push_back(p);
      }
    }
    for (Pending& p : pending) {
      p.wmName = xcb_get_property(c.get(), 0, p.window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY,
                                  0, length);
      p.netWmName = xcb_get_property(c.get(), 0, p.window, atoms.netWmName, atoms.utf8String, 0,
                                     length);
      p.wmState = xcb_get_property(c.get(), 0, p.window, atoms.wmState, atoms.wmState, 0, 0);
    }

    uint32_t found = 0;
    std::vector<xcb_window_t> next;
    for (const Pending& p : pending) {
      auto wmName = Take(xcb_get_property_reply(c.get(), p.wmName, nullptr));
      auto netWmName = Take(xcb_get_property_reply(c.get(), p.netWmName, nullptr));
      auto wmState = Take(xcb_get_property_reply(c.get(), p.wmState, nullptr));
      if (found) continue;  // the remaining replies are collected all the same
      bool isClient = wmState && wmState->type == atoms.wmState;
      if (!p.needsState || isClient) {
        std::string name;
        if ((TitleOf(wmName.get(), atoms, name) && SameTitle(name, title)) ||
            (TitleOf(netWmName.get(), atoms, name) && SameTitle(name, title))) {
          found = p.window;
          continue;
        }
      }
      // A client's own children are not top-level windows; anything else may be a frame.
      if (!isClient) next.push_back(p.window);
    }
    if (found) return found;
    level = std::move(next);
  }
  return 0;
}

}  // namespace platform
