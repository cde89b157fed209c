// The keyboard's focus and one-switch scanning. The focus moves over what the frame just drawn
// could be clicked on; Enter, Space or the switch set the click flag of what it stands on, as a
// click of the pointer would, and the next frame acts on it.
#include "scenes/focus.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/sound.h"
#include "behaviours/buttons.h"
#include "platform/clock.h"
#include "platform/config.h"
#include "platform/input.h"
#include "platform/video.h"
#include "puzzle/catalogue.h"
#include "puzzle/pieces.h"
#include "render/pick.h"
#include "render/screen_box.h"
#include "resources/names.h"
#include "resources/piece_sets.h"
#include "runtime/params.h"
#include "scenes/switches.h"
#include "state/session.h"
#include "state/settings.h"

Focus_record Focus;

const char* const Focus_buttons[6][2] = {{"bmenu", "bmenu_draw"}, {"bhimg", "bhimg_draw"}, {"bhelp", "bhelp_draw"},
                                         {"bbreak", "bbreak_draw"}, {"prev_pz", "prev_draw"}, {"next_pz", "next_draw"}};

namespace {

const char* const Window_store = "z_Int_store";

struct Item {
  Focus_target target;
  double x, y;  // where its origin shows, in window pixels
};

Param_map& Params_of(const Focus_target& target) { return Return_fun_data(target.store, target.object, target.fun); }

Callback Function_of(const mause_obj& drawing) {
  const Object* object = Get_object_from_global_store(drawing.store, drawing.object);
  if (object == nullptr) return nullptr;
  const auto function = object->functions.find(drawing.fun);
  return function == object->functions.end() ? nullptr : function->second.fun;
}

Item Item_of(const mause_obj& drawing) {
  const float origin[3] = {0, 0, 0};
  double x = 0, y = 0;
  Drawing_point_on_screen(drawing, origin, x, y);
  return {{drawing.store, drawing.object, drawing.fun}, x, y};
}

// In reading order: rows of the given height from the top, each from the left.
void Sort_reading(std::vector<Item>& items, double row) {
  std::stable_sort(items.begin(), items.end(), [row](const Item& a, const Item& b) {
    const int ra = static_cast<int>(a.y / row), rb = static_cast<int>(b.y / row);
    return ra != rb ? ra < rb : a.x < b.x;
  });
}

// The window open in this frame: the object of the first window button drawn; empty: none.
std::string Open_window() {
  for (const mause_obj& drawing : frame_pickables)
    if (drawing.store == Window_store && Function_of(drawing) == Draw_button) return drawing.object;
  return "";
}

// What the focus may stand on in this frame: the open window's buttons, or else the loose
// pieces in reading order and then the game screen's buttons. Links are never among them.
std::vector<Item> Items(const std::string& window) {
  std::vector<Item> items;
  if (!window.empty()) {
    for (const mause_obj& drawing : frame_pickables)
      if (drawing.store == Window_store && drawing.object == window && Function_of(drawing) == Draw_button)
        items.push_back(Item_of(drawing));
    Sort_reading(items, Video_ptr->height / 20.0);
    return items;
  }
  for (const mause_obj& drawing : frame_pickables)
    if (Function_of(drawing) == Draw_piece && drawing.store == Picture_pack(puzzle_index)) items.push_back(Item_of(drawing));
  Sort_reading(items, Video_ptr->height / 8.0);
  for (const auto& button : Focus_buttons)
    for (const mause_obj& drawing : frame_pickables)
      if (drawing.store == "Int_butt" && drawing.object == button[0] && drawing.fun == button[1])
        items.push_back(Item_of(drawing));
  return items;
}

int Index_of(const std::vector<Item>& items, const Focus_target& target) {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].target == target) return static_cast<int>(i);
  return -1;
}

// The item nearest the point in the direction (dx, dy), counting a step aside twice; -1: none.
int Nearest_towards(const std::vector<Item>& items, double x, double y, int dx, int dy, bool pieces_only) {
  int best = -1;
  double best_cost = 1e18;
  for (size_t i = 0; i < items.size(); ++i) {
    if (pieces_only && items[i].target.fun != "puzzle") continue;
    const double ahead = (items[i].x - x) * dx + (items[i].y - y) * dy;
    const double aside = std::abs((items[i].x - x) * dy - (items[i].y - y) * dx);
    if (ahead <= 0.5) continue;
    const double cost = ahead + 2 * aside;
    if (cost < best_cost) best_cost = cost, best = static_cast<int>(i);
  }
  return best;
}

// The board's slots: every shape of the set, with its home, row by row from the top.
struct Slot {
  std::string shape;
  double x, y;
  bool empty;  // its piece is still loose
};
std::vector<Slot> Slots() {
  std::vector<Slot> slots;
  const Piece_set& set = Current_piece_set();
  const std::string pack = Picture_pack(puzzle_index);
  for (int i = set.first_shape; i < set.first_shape + set.pieces; ++i) {
    const std::string shape = Shape_name(i);
    if (!Is_object_in_global_store(pack, shape)) continue;
    Param_map& drawn = Return_fun_data(pack, shape, "puzzle");
    slots.push_back({shape, drawn["CENTER_X"].value.number, drawn["CENTER_Y"].value.number, drawn.count("FUN") != 0});
  }
  std::sort(slots.begin(), slots.end(), [](const Slot& a, const Slot& b) {
    return std::lround(a.y * 10) != std::lround(b.y * 10) ? a.y > b.y : a.x < b.x;
  });
  return slots;
}

Param_map& Lifted_place() { return Return_fun_data(Picture_pack(puzzle_index), Focus.lifted, "puzz_draw"); }

// The lifted piece over a slot.
void Over_slot(const Slot& slot) {
  Focus.slot = slot.shape;
  Lifted_place()["POS_X"].value.number = slot.x;
  Lifted_place()["POS_Y"].value.number = slot.y;
}

void Back_where_it_lay() {
  Lifted_place()["POS_X"].value.number = Focus.from_x;
  Lifted_place()["POS_Y"].value.number = Focus.from_y;
}

bool Scanning() { return Config.scan_seconds > 0; }

// The piece the last pick lifted starts over a slot: the first empty one for the scan, the one
// nearest to where it lay for the arrows.
void Begin_lift() {
  const std::string piece = Focus.lifting;
  Focus.lifting.clear();
  if (piece.empty() || selected_piece != piece) return;
  Focus.lifted = piece;
  Focus.from_x = Lifted_place()["POS_X"].value.number;
  Focus.from_y = Lifted_place()["POS_Y"].value.number;
  Focus.round = 1;
  const std::vector<Slot> slots = Slots();
  const Slot* start = nullptr;
  auto away = [](const Slot& slot) { return std::hypot(slot.x - Focus.from_x, slot.y - Focus.from_y); };
  for (const Slot& slot : slots) {
    if (Scanning()) {
      if (!slot.empty) continue;
      start = &slot;
      break;
    }
    if (start == nullptr || away(slot) < away(*start)) start = &slot;
  }
  if (start != nullptr) Over_slot(*start);
}

void Let_go() {
  if (!Focus.lifted.empty() && selected_piece == Focus.lifted) Back_where_it_lay();
  Focus.lifted.clear();
  if (!selected_piece.empty()) {
    Deselect_piece(Picture_pack(puzzle_index));
    selected_piece.clear();
  }
}

void Press(const Focus_target& target) { Params_of(target)["MOUSE_CL"].value.flag = 1; }

void Pick(const std::vector<Item>& items) {
  if (!Focus.lifted.empty()) {
    if (Focus.slot == Focus.lifted) {  // its own slot: home it goes, from where it is now
      Press({Board_pack(puzzle_index), Focus.lifted, "puzz_draw"});
      Focus.lifted.clear();
    } else {
      Back_where_it_lay();
      Focus.round = 0;
    }
    return;
  }
  const Focus_target target = Focused();
  if (Index_of(items, target) < 0) return;
  Press(target);
  if (target.fun == "puzzle") Focus.lifting = target.object;
}

void Escape(const std::vector<Item>& items) {
  if (!selected_piece.empty()) return Let_go();
  if (Focus.window_name.empty()) return;
  for (const Item& item : items)
    if (item.target.fun == "bcancel_draw" || item.target.fun == "bclose_draw") return Press(item.target);
  if (items.size() == 1 && Focus.window_name != "m_select") Press(items[0].target);
}

void Step(const std::vector<Item>& items, int by) {
  if (items.empty()) return;
  Focus_target& focus = Focus.window_name.empty() ? Focus.game : Focus.window;
  const int at = Index_of(items, focus), count = static_cast<int>(items.size());
  focus = items[at < 0 ? (by > 0 ? 0 : count - 1) : ((at + by) % count + count) % count].target;
}

void Arrow(const std::vector<Item>& items, int dx, int dy) {
  if (!Focus.lifted.empty()) {
    const std::vector<Slot> slots = Slots();
    const auto at = std::find_if(slots.begin(), slots.end(), [](const Slot& s) { return s.shape == Focus.slot; });
    if (at == slots.end()) return;
    const Slot* best = nullptr;
    double best_cost = 1e18;
    for (const Slot& slot : slots) {  // on the board y grows upwards
      const double ahead = (slot.x - at->x) * dx - (slot.y - at->y) * dy;
      const double aside = std::abs((slot.x - at->x) * dy + (slot.y - at->y) * dx);
      if (ahead > 0.01 && ahead + 2 * aside < best_cost) best_cost = ahead + 2 * aside, best = &slot;
    }
    if (best != nullptr) Over_slot(*best);
    return;
  }
  Focus_target& focus = Focus.window_name.empty() ? Focus.game : Focus.window;
  const int at = Index_of(items, focus);
  const double x = at < 0 ? Video_ptr->width / 2.0 : items[at].x, y = at < 0 ? Video_ptr->height / 2.0 : items[at].y;
  const int next = Nearest_towards(items, x, y, dx, dy, Focus.window_name.empty());
  if (next >= 0) focus = items[next].target;
}

// A scan step: the next empty slot for a lifted piece (after a whole round without a pick the
// piece goes back and the scan returns to the pieces), else the next thing to pick.
void Scan_step(const std::vector<Item>& items) {
  if (!Focus.lifted.empty()) {
    std::vector<Slot> slots = Slots();
    slots.erase(std::remove_if(slots.begin(), slots.end(), [](const Slot& s) { return !s.empty; }), slots.end());
    if (++Focus.round > static_cast<int>(slots.size()) || slots.empty()) {
      Let_go();
    } else {
      auto at = std::find_if(slots.begin(), slots.end(), [](const Slot& s) { return s.shape == Focus.slot; });
      Over_slot(at == slots.end() || at + 1 == slots.end() ? slots.front() : *(at + 1));
    }
  } else {
    Step(items, 1);
  }
  Play_sound(Sound_ptr, Sound_pack, Scan_sound);
}

}  // namespace

Focus_target Focused() {
  if (!Focus.lifted.empty()) return {Picture_pack(puzzle_index), Focus.lifted, "puzzle"};
  return Focus.window_name.empty() ? Focus.game : Focus.window;
}

void Focus_frame() {
  Press_is_pick = Scanning();
  if (Mouse_state.fresh_press) Focus.shown = false;  // the pointer's user needs no ring
  if (!Focus.lifted.empty() && selected_piece != Focus.lifted) Focus.lifted.clear();  // let go elsewhere
  const std::string window = Open_window();
  if (window != Focus.window_name) {  // a window opens on its first button, the count window on the last count
    const std::vector<Item> buttons = Items(window);
    Focus.window_name = window;
    Focus.window = buttons.empty() ? Focus_target() : buttons[0].target;
    for (const Item& item : buttons)
      if (window == "m_select" && Params_of(item.target)[Piece_mode_param].value.number == Settings.piece_mode)
        Focus.window = item.target;
  }
  // Nothing more to do for a child who plays with the pointer alone.
  if (!Focus.shown && Pressed_keys.empty() && !Scanning() && Focus.lifting.empty()) return;
  Begin_lift();
  const std::vector<Item> items = Items(window);
  if (Focus.window_name.empty() && !items.empty()) {
    // A new board takes the focus to its first piece, unless it is on the arrows that brought it.
    const std::string board = items[0].target.fun == "puzzle" ? items[0].target.store + Current_piece_set().card_fun : "";
    const bool arrows = Focus.game.object == "prev_pz" || Focus.game.object == "next_pz";
    if (!board.empty() && board != Focus.board && !arrows) Focus.game = items[0].target;
    if (!board.empty()) Focus.board = board;
    // Something that went away (a piece gone home) hands the focus on to the first.
    if (Index_of(items, Focus.game) < 0) Focus.game = items[0].target;
  }
  for (const Key_press& press : Pressed_keys) {
    const bool back = (press.mod & KMOD_SHIFT) != 0;
    switch (press.key) {
      case SDLK_TAB: if (Focus.lifted.empty()) Step(items, back ? -1 : 1); break;
      case SDLK_LEFT: Arrow(items, -1, 0); break;
      case SDLK_RIGHT: Arrow(items, 1, 0); break;
      case SDLK_UP: Arrow(items, 0, -1); break;
      case SDLK_DOWN: Arrow(items, 0, 1); break;
      case SDLK_RETURN: case SDLK_KP_ENTER: case SDLK_SPACE: Pick(items); break;
      case SDLK_ESCAPE: Escape(items); break;
      default: continue;
    }
    Focus.shown = true;
    if (Scanning()) Focus.next_step = Clock_ms() + Config.scan_seconds * 1000;  // a whole step after a pick
  }
  if (Scanning()) {
    Focus.shown = true;
    const double now = Clock_ms(), period = Config.scan_seconds * 1000;
    if (Focus.next_step <= 0 || Focus.next_step > now + period) Focus.next_step = now + period;
    if (now >= Focus.next_step) {
      Scan_step(items);
      Focus.next_step = std::max(Focus.next_step + period, now + 1);
    }
    Wake_by(Focus.next_step);
  }
  if (!Focus.shown) return;
  const Focus_target focused = Focused();
  for (const mause_obj& drawing : frame_pickables)
    if (drawing.store == focused.store && drawing.object == focused.object && drawing.fun == focused.fun) {
      Screen_box box;
      if (Drawing_screen_box(drawing, box)) Draw_focus_ring(box);
      break;
    }
}
