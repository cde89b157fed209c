// The game's packs: screen furniture, windows, loader, sounds, and for each of the ten
// puzzles its pictures and pieces, with the boards and shadows of the three cuts.
#include "content.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "raster.h"
#include "resources/depths.h"
#include "resources/formats.h"
#include "resources/names.h"
#include "resources/picture_size.h"
#include "resources/piece_sets.h"
#include "resources/writer.h"
#include "shading.h"
#include "synth.h"

namespace {

std::string Assets;

// A flat model for a screen picture, turned to face the camera by ROT_X -90: it lies in the
// model's x-z plane (x right, z up) at model y = depth, centred on (x_shift, 0).
Mesh_source Flat_mesh(const std::string& texture, double width, double height, double depth,
                      double x_shift = 0) {
  float l = static_cast<float>(x_shift - width / 2), r = static_cast<float>(x_shift + width / 2);
  float b = static_cast<float>(-height / 2), t = static_cast<float>(height / 2);
  float y = static_cast<float>(depth);
  Mesh_source mesh;
  mesh.texture = texture;
  mesh.pivot[0] = static_cast<float>(x_shift);
  mesh.pivot[1] = y;
  mesh.positions = {l, y, b, r, y, b, r, y, t, l, y, b, r, y, t, l, y, t};
  mesh.texcoords = {0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0};
  return mesh;
}

// Model depths of the window pictures and of the plate behind them.
const double window_depth = Window_picture_model_depth;
const double plate_depth = Window_plate_model_depth;

// Renders an SVG of the art folder at the given size.
Image Art(const std::string& name, int width, int height) {
  return Render_svg(Assets + "/" + name, width, height);
}

// Adds a flat picture model and its PNG (with alpha, unless the picture is opaque) to a pack.
void Add_flat(Pack_contents& pack, const std::string& model, const std::string& texture,
              const std::string& svg, int px_w, int px_h, double width, double height,
              double depth, double x_shift = 0, bool alpha = true) {
  pack.Add(texture, Encode_png(Art("ui/" + svg, px_w, px_h), alpha));
  pack.Add(model, Model_bytes({Flat_mesh(texture, width, height, depth, x_shift)}));
}


// Texture coordinates of points of a cut's board: the picture covers that board, first row at
// the top.
std::vector<float> Board_texcoords(const std::vector<float>& triangles, const Board_cut& cut) {
  std::vector<float> st;
  for (size_t i = 0; i + 2 < triangles.size(); i += 3) {
    st.push_back(static_cast<float>((triangles[i] + cut.half_width) / (2 * cut.half_width)));
    st.push_back(static_cast<float>((cut.half_height - triangles[i + 1]) / (2 * cut.half_height)));
  }
  return st;
}

Mesh_source Board_mesh(const std::string& texture, const Piece_cut& piece, const Board_cut& cut) {
  Mesh_source mesh;
  mesh.texture = texture;
  mesh.pivot[0] = static_cast<float>(piece.center.x);
  mesh.pivot[1] = static_cast<float>(piece.center.y);
  mesh.positions = piece.triangles;
  mesh.texcoords = Board_texcoords(piece.triangles, cut);
  return mesh;
}

// "Shape1".."Shape84": every piece of every set's cut of a pattern, at its place on the set's
// board, textured with the set's picture that `texture` names (pieces, slots and shadows alike).
void Add_shapes(Pack_contents& pack, int pattern, const char* Piece_set::*texture) {
  for (const Piece_set& set : Piece_sets) {
    int index = set.first_shape;
    const Board_cut& cut = Cut_of(pattern, set);
    for (const Piece_cut& piece : cut.pieces)
      pack.Add(Shape_name(index++), Model_bytes({Board_mesh(set.*texture, piece, cut)}));
  }
}

const int picture_w = Picture_width, picture_h = Picture_height;

// Pixels of a picture of the full board, for a set's board: as many pixels per unit.
int Scaled(int pixels, const Piece_set& set) {
  return static_cast<int>(std::lround(pixels * set.board_scale));
}

std::string Puzzle_art(int index) { return "puzzles/puzzle" + std::to_string(index) + ".svg"; }

// A puzzle's picture at the size of a set's board, given the one of the full board.
Image Picture_of_set(int index, const Image& full_board, const Piece_set& set) {
  if (set.board_scale == 1.0) return full_board;
  return Art(Puzzle_art(index), Scaled(picture_w, set), Scaled(picture_h, set));
}

void Make_puzzle_pack(Pack_contents& pack, int index) {
  Image picture = Art(Puzzle_art(index), picture_w, picture_h);
  const int pattern = index % Pattern_count;
  pack.Add(Final_picture, Encode_jpeg(picture, 90));
  pack.Add(Preview_picture, Encode_jpeg(Resize(picture, 400, 280), 90));
  for (const Piece_set& set : Piece_sets)
    pack.Add(set.puzzle_picture, Encode_jpeg(Bevel_picture(Picture_of_set(index, picture, set),
                                                           Cut_of(pattern, set)), 90));
  pack.Add(Final_model, Model_bytes({Rectangle_mesh(Final_picture, -10, -7, 10, 7, 0)}));
  pack.Add(Preview_model, Model_bytes({Flat_mesh(Preview_picture, 24, 16.8, 0)}));
  Add_shapes(pack, pattern, &Piece_set::puzzle_picture);
}

void Make_board_pack(Pack_contents& pack, int pattern) {
  const char* surfaces[3] = {"board_a.svg", "board_b.svg", "board_c.svg"};
  Image surface = Art(std::string("ui/") + surfaces[pattern], picture_w, picture_h);
  std::set<std::string> surface_pictures;  // sets that share a surface share its picture
  for (const Piece_set& set : Piece_sets)
    if (surface_pictures.insert(set.board_picture).second)
      pack.Add(set.board_picture, Encode_jpeg(surface, 88));
  // Each set's board is the surface stretched over that set's board size.
  for (const Piece_set& set : Piece_sets) {
    const Board_cut& cut = Cut_of(pattern, set);
    const float w = static_cast<float>(cut.half_width), h = static_cast<float>(cut.half_height);
    pack.Add(set.board_model, Model_bytes({Rectangle_mesh(set.board_picture, -w, -h, w, h, 0)}));
  }
  // A slot is the piece's whole shape, so a click anywhere inside it counts; its texture is
  // opaque only in a band along the edge, and the alpha test draws just that outline.
  for (const Piece_set& set : Piece_sets)
    pack.Add(set.slot_picture, Encode_png(Slot_map(Cut_of(pattern, set), Scaled(picture_w, set),
                                                   Scaled(picture_h, set), set.slot_band), true));
  // What the game multiplies a parent's photo with to cut it into the set's pieces.
  for (const Piece_set& set : Piece_sets)
    pack.Add(set.bevel_picture, Encode_png(Bevel_map(Cut_of(pattern, set), Scaled(picture_w, set),
                                                     Scaled(picture_h, set)), false));
  Add_shapes(pack, pattern, &Piece_set::slot_picture);
}

void Make_shadow_pack(Pack_contents& pack, int pattern) {
  for (const Piece_set& set : Piece_sets)
    pack.Add(set.shadow_picture, Encode_png(Shadow_map(Cut_of(pattern, set), Scaled(500, set),
                                                       Scaled(350, set)), true));
  Add_shapes(pack, pattern, &Piece_set::shadow_picture);
}

// The pointer is drawn without blending, so its model has the arrow's own shape: the arrow
// of cursor.svg (pixels of its 128 x 128 picture) widened by half its 6-pixel outline. The
// tip is the model's origin; the picture hangs right and down from it, 1.8 units square.
Mesh_source Cursor_mesh() {
  const std::vector<Point> arrow = {{5, 5},        {5, 100.2},    {27.4, 78.9}, {45.3, 118.7},
                                    {61.6, 112},   {44.2, 72.2},  {74.4, 72.2}};
  const double grow = 3.0, size = 1.8, pixels = 128.0;
  std::vector<Point> outline;
  size_t n = arrow.size();
  for (size_t i = 0; i < n; ++i) {
    Point a = arrow[(i + n - 1) % n], p = arrow[i], b = arrow[(i + 1) % n];
    // Outward normals of the two edges (the arrow runs anticlockwise on screen), mitred.
    double ax = p.x - a.x, ay = p.y - a.y, bx = b.x - p.x, by = b.y - p.y;
    double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    double nx = -ay / la - by / lb, ny = ax / la + bx / lb, ln = std::hypot(nx, ny);
    double cosine = std::max(0.35, (nx * -ay / la + ny * ax / la) / ln);
    outline.push_back({p.x + nx / ln * grow / cosine, p.y + ny / ln * grow / cosine});
  }
  Mesh_source mesh;
  mesh.texture = "CURSOR.PNG";
  for (Point& p : outline) {
    p.x = std::clamp(p.x, 0.0, pixels);
    p.y = std::clamp(p.y, 0.0, pixels);
  }
  std::vector<float> flat = Triangulate(outline);  // in picture pixels, y down
  for (size_t i = 0; i + 2 < flat.size(); i += 3) {
    double px = flat[i], py = flat[i + 1];
    mesh.positions.push_back(static_cast<float>((px - 2) / pixels * size));
    mesh.positions.push_back(0.0f);
    mesh.positions.push_back(static_cast<float>(-(py - 2) / pixels * size));
    mesh.texcoords.push_back(static_cast<float>(px / pixels));
    mesh.texcoords.push_back(static_cast<float>(py / pixels));
  }
  return mesh;
}

// The board's frame as four bands around the 20 x 14 picture, whose place in the frame's
// picture is transparent: blending that middle would cost a software rasteriser a third of
// a quiet frame for nothing. The bands reach 0.1 unit into the middle.
Mesh_source Frame_mesh(const std::string& texture) {
  const float L = -10.8f, B = -7.8f, R = 10.8f, T = 7.8f;
  const float l = -9.9f, b = -6.9f, r = 9.9f, t = 6.9f;
  const float bands[4][4] = {{L, B, R, b}, {L, t, R, T}, {L, b, l, t}, {r, b, R, t}};
  Mesh_source mesh = Rectangle_mesh(texture, L, B, R, T, 0);
  mesh.positions.clear();
  mesh.texcoords.clear();
  for (const auto& band : bands) {
    const Mesh_source part = Rectangle_mesh(texture, band[0], band[1], band[2], band[3], 0);
    for (size_t v = 0; v < part.positions.size() / 3; ++v) {
      const float x = part.positions[3 * v], y = part.positions[3 * v + 1];
      mesh.positions.insert(mesh.positions.end(), {x, y, 0.0f});
      mesh.texcoords.insert(mesh.texcoords.end(), {(x - L) / (R - L), (T - y) / (T - B)});
    }
  }
  return mesh;
}

void Make_main_pack(Pack_contents& pack) {
  // The window's icon, which the desktop shows in its docks and task switchers.
  pack.Add(Icon_picture, Encode_png(Render_svg(Assets + "/icon.svg", 64, 64), true));
  pack.Add("CURSOR.PNG", Encode_png(Art("ui/cursor.svg", 128, 128), true));
  pack.Add(Cursor_model, Model_bytes({Cursor_mesh()}));
  // The background covers the whole screen and is opaque: no alpha to store and sample.
  Add_flat(pack, Background_model, Background_picture, "background.svg", 2000, 840, 200, 84, 0, 0, false);
  // The bar's hollows sit under the buttons, which stand 8.65, 17.65, 23.9 and 30.14 units
  // from the bar's left end; the picture's hollows are 2 units further left.
  Add_flat(pack, Menu_bar_model, "MENU_BAR.PNG", "menu_bar.svg", 720, 180, 36, 9, 0, 2.0);
  pack.Add(Frame_picture, Encode_png(Art("ui/board_frame.svg", 864, 624), true));
  pack.Add(Frame_model, Model_bytes({Frame_mesh(Frame_picture)}));
  pack.Add("STAR.PNG", Encode_png(Art("ui/star.svg", 64, 64), true));
  pack.Add(Star_model, Model_bytes({Rectangle_mesh("STAR.PNG", -0.5, -0.5, 0.5, 0.5, 0)}));
  Add_flat(pack, Preview_frame_model, "PREVIEW.PNG", "preview_frame.svg", 540, 390, 27, 19.5, 0);
}

void Make_button_pack(Pack_contents& pack) {
  Add_flat(pack, Close_button_model, "CLOSE.PNG", "btn_close.svg", 128, 128, 6, 6, 0);
  Add_flat(pack, Menu_button_model, "MENU.PNG", "btn_menu.svg", 160, 128, 7.5, 6, 0);
  Add_flat(pack, View_button_model, "VIEW.PNG", "btn_view.svg", 128, 128, 6, 6, 0);
  Add_flat(pack, Help_button_model, "HELP.PNG", "btn_help.svg", 128, 128, 6, 6, 0);
  Add_flat(pack, Break_button_model, "CRASH.PNG", "btn_break.svg", 128, 128, 6, 6, 0);
  Add_flat(pack, Previous_button_model, "LEFT.PNG", "btn_left.svg", 128, 128, 6.5, 6.5, 0);
  Add_flat(pack, Next_button_model, "RIGHT.PNG", "btn_right.svg", 128, 128, 6.5, 6.5, 0);
}

void Make_loader_pack(Pack_contents& pack) {
  Add_flat(pack, Loader_model, "LOADER.PNG", "loader.svg", 1100, 750, 22, 15, 0);
  Add_flat(pack, Website_model, "WEBSITE.PNG", "btn_website.svg", 350, 90, 7, 1.8, 0);
  Add_flat(pack, Twitter_model, "TWITTER.PNG", "btn_bird.svg", 104, 104, 1.6, 1.6, 0);
  Add_flat(pack, Facebook_model, "FBOOK.PNG", "btn_thumb.svg", 104, 104, 1.6, 1.6, 0);
}

void Make_menu_pack(Pack_contents& pack) {
  pack.Add("BLOCK.PNG", Encode_png(Solid_image(8, 8, 16, 32, 64, 140), true));
  pack.Add("block.3DS", Model_bytes({Flat_mesh("BLOCK.PNG", 80, 34, plate_depth)}));
  Add_flat(pack, "exit_menu.3DS", "EXIT.PNG", "win_exit.svg", 880, 550, 16, 10, window_depth);
  Add_flat(pack, "break_puz_menu.3DS", "BREAK.PNG", "win_break.svg", 880, 550, 16, 10, window_depth);
  Add_flat(pack, "main_menu.3DS", Main_menu_picture, "win_menu.svg", 1210, 715, 22, 13, window_depth);
  Add_flat(pack, "break_pzls_menu.3DS", "BREAK_ALL.PNG", "win_break_all.svg", 880, 550, 16, 10,
           window_depth);
}

void Make_small_packs(std::vector<Pack_contents>& packs) {
  Pack_contents select{Select_pack, {}};
  Add_flat(select, "please.3DS", Select_title_picture, "select_title.svg", 1100, 193, 20, 3.5, 0);
  // A card for each set, 10.4 x 7.6 units: its picture cut into its count, and its number.
  for (const Piece_set& set : Piece_sets)
    Add_flat(select, set.card_model, set.card_picture,
             "select_" + std::to_string(set.pieces) + ".svg", 572, 418, 10.4, 7.6, 0);
  packs.push_back(select);

  Pack_contents help{Help_pack, {}};
  Add_flat(help, "help_fon.3DS", Help_picture, "help.svg", 1540, 1050, 22, 15, window_depth);
  Add_flat(help, "close.3DS", "CLOSE.PNG", "btn_close_small.svg", 182, 182, 2.6, 2.6, 0);
  packs.push_back(help);

  Pack_contents exit_menu{Exit_pack, {}};
  Add_flat(exit_menu, "ok.3DS", "OK.PNG", "btn_ok.svg", 275, 143, 5, 2.6, 0);
  Add_flat(exit_menu, "cancel.3DS", "CANCEL.PNG", "btn_cancel.svg", 275, 143, 5, 2.6, 0);
  packs.push_back(exit_menu);

  Pack_contents break_menu{Break_pack, {}};
  Add_flat(break_menu, "break.3DS", "BREAK.PNG", "btn_break_now.svg", 275, 143, 5, 2.6, 0);
  Add_flat(break_menu, "cancel.3DS", "CANCEL.PNG", "btn_cancel.svg", 275, 143, 5, 2.6, 0);
  packs.push_back(break_menu);

  Pack_contents about{About_pack, {}};
  Add_flat(about, "about.3DS", "ABOUT.PNG", "win_about.svg", 990, 660, 18, 12, window_depth);
  Add_flat(about, "ok.3DS", "OK.PNG", "btn_ok.svg", 275, 143, 5, 2.6, 0);
  packs.push_back(about);

  Pack_contents main_menu{Main_menu_pack, {}};
  Add_flat(main_menu, "close.3DS", "CLOSE.PNG", "btn_close_small.svg", 143, 143, 2.6, 2.6, 0);
  Add_flat(main_menu, "visit.3DS", "VISIT.PNG", "btn_visit.svg", 302, 110, 5.5, 2, 0);
  Add_flat(main_menu, "about.3DS", "ABOUT.PNG", "btn_about.svg", 302, 110, 5.5, 2, 0);
  Add_flat(main_menu, "break.3DS", "BREAK.PNG", "btn_break_all.svg", 302, 121, 5.5, 2.2, 0);
  Add_flat(main_menu, "sound.3DS", "ON.PNG", "switch_on.svg", 77, 77, 1.4, 1.4, 0);
  Add_flat(main_menu, "clean.3DS", "OFF.PNG", "switch_off.svg", 77, 77, 1.4, 1.4, 0);
  Add_flat(main_menu, "diff.3DS", "CHOSEN.PNG", "switch_chosen.svg", 77, 77, 1.4, 1.4, 0);
  // A switch's label is drawn from the switch's place: it starts 0.3 right of the 1.4-unit mark.
  const double label_left = 0.7 + 0.3;
  for (const Piece_set& set : Piece_sets)  // a small picture of the set's cut and its number
    Add_flat(main_menu, set.switch_label, set.switch_picture,
             "label_" + std::to_string(set.pieces) + ".svg", 209, 77, 3.8, 1.4, 0,
             label_left + 3.8 / 2);
  Add_flat(main_menu, Outline_switch_label, "OUTLINE.PNG", "label_outline.svg", 99, 88, 1.8, 1.6, 0,
           label_left + 1.8 / 2);  // a slot's lit outline
  packs.push_back(main_menu);

  Pack_contents music{Sound_pack, {}};
  for (const std::string& name : Synthesized_sound_names())
    music.Add(name, Wav_bytes(Synthesize_sound(name), 1, Synth_rate, 16));
  packs.push_back(music);
}

}  // namespace

std::string Pack_contents::Bytes() const {
  std::string out;
  for (const auto& entry : entries) out += Pack_record(entry.first, entry.second);
  return out;
}

const Board_cut& Cut_of(int pattern, const Piece_set& set) {
  static std::map<std::pair<int, int>, Board_cut> cuts;
  auto key = std::make_pair(pattern, set.first_shape);
  auto found = cuts.find(key);
  if (found == cuts.end())
    found = cuts.emplace(key, Make_board_cut(set.columns, set.rows, set.board_scale,
                                             static_cast<uint32_t>(pattern))).first;
  return found->second;
}

std::vector<Pack_contents> Make_all_packs(const std::string& assets_dir) {
  Assets = assets_dir;
  std::vector<Pack_contents> packs;
  Pack_contents main_pack{Main_pack, {}};
  Make_main_pack(main_pack);
  packs.push_back(main_pack);
  Pack_contents loader{Loader_pack, {}};
  Make_loader_pack(loader);
  packs.push_back(loader);
  Pack_contents buttons{Buttons_pack, {}};
  Make_button_pack(buttons);
  packs.push_back(buttons);
  Pack_contents menu{Menu_pack, {}};
  Make_menu_pack(menu);
  packs.push_back(menu);
  Make_small_packs(packs);
  for (int i = 0; i < Puzzle_count; ++i) {
    Pack_contents puzzle{Puzzle_pack(i), {}};
    Make_puzzle_pack(puzzle, i);
    packs.push_back(puzzle);
  }
  for (int k = 0; k < Pattern_count; ++k) {
    Pack_contents board{Board_pack(k), {}};
    Make_board_pack(board, k);
    packs.push_back(board);
    Pack_contents shadow{Shadow_pack(k), {}};
    Make_shadow_pack(shadow, k);
    packs.push_back(shadow);
  }
  return packs;
}

std::string Make_contact_sheet(const std::string& assets_dir) {
  Assets = assets_dir;
  // Five rows of two pictures, each with its cut in every piece set; then the screen art.
  const int cell_w = 300, cell_h = 210, gap = 6;
  const int columns = 2 * (1 + Piece_set_count);  // two pictures per row
  const char* art[] = {"background.svg",  "loader.svg",        "win_menu.svg",  "help.svg",
                       "select_4.svg",    "select_12.svg",     "select_20.svg", "select_48.svg",
                       "win_exit.svg",    "win_break.svg",     "win_break_all.svg",
                       "win_about.svg",   "board_a.svg",       "board_b.svg",   "board_c.svg",
                       "board_frame.svg", "menu_bar.svg",      "preview_frame.svg",
                       "btn_menu.svg",    "btn_view.svg"};
  const int art_count = sizeof art / sizeof art[0];
  const int rows = 5 + (art_count + columns - 1) / columns;
  Image sheet = Solid_image(columns * (cell_w + gap) + gap, rows * (cell_h + gap) + gap, 40, 44, 60, 255);
  auto paste = [&](const Image& image, int column, int row) {
    Image small = Resize(image, cell_w, cell_h);
    int x0 = gap + column * (cell_w + gap), y0 = gap + row * (cell_h + gap);
    for (int y = 0; y < cell_h; ++y)
      for (int x = 0; x < cell_w; ++x) {
        const uint8_t* s = &small.rgba[(static_cast<size_t>(y) * cell_w + x) * 4];
        uint8_t* d = &sheet.rgba[(static_cast<size_t>(y0 + y) * sheet.width + x0 + x) * 4];
        float a = s[3] / 255.0f;
        for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(s[c] * a + d[c] * (1 - a));
      }
  };
  for (int i = 0; i < Puzzle_count; ++i) {
    Image picture = Art(Puzzle_art(i), picture_w, picture_h);
    int row = i / 2, column = (i % 2) * (1 + Piece_set_count);
    paste(picture, column, row);
    for (int k = 0; k < Piece_set_count; ++k) {
      const Board_cut& cut = Cut_of(i % Pattern_count, Piece_sets[k]);
      const Image cut_picture = Bevel_picture(Picture_of_set(i, picture, Piece_sets[k]), cut);
      paste(Cut_lines_over(cut_picture, cut, 255, 255, 255), column + 1 + k, row);
    }
  }
  for (int k = 0; k < art_count; ++k)
    paste(Art(std::string("ui/") + art[k], 600, 420), k % columns, 5 + k / columns);
  return Encode_png(sheet, false);
}
