#include "script/instruction_codes.h"

namespace {

// Mnemonics are lower case with underscores; conditions read "if_...", the
// three combinators are the plain words.
constexpr TInstructionInfo kRows[] = {
    {1, "set_hero", false, false},
    {2, "hero_setup", false, false},
    {3, "give_item", false, false},
    {4, "set_more_stand_frames", false, false},
    {5, "store_unused_frames", false, false},
    {6, "face_hero", false, false},
    {7, "place_hero", false, false},
    {8, "walk_hero", false, false},
    {9, "turn_hero", false, false},
    {10, "set_hero_frame", false, false},
    {11, "set_idle_on_arrival", false, false},
    {12, "enable_menu", false, false},
    {13, "remove_item", false, false},
    {14, "set_frame_function", false, false},
    {15, "wait", false, false},
    {16, "call", false, false},
    {17, "delayed_call", false, false},
    {18, "set_variables", false, false},
    {19, "add_to_variables", false, false},
    {20, "bind_key_press", true, false},
    {21, "bind_key_release", true, false},
    {22, "bind_key_hold", true, false},
    {23, "enable_input", false, false},
    {24, "set_region", false, false},
    {25, "sound", false, false},
    {26, "voice_comment", false, false},
    {27, "set_skip_location", false, false},
    {28, "set_scroll_object", false, false},
    {29, "enable_region_if_comments", false, false},
    {30, "hide_inventory", false, false},
    {31, "hide_cursor", false, false},
    {32, "day_time", false, false},
    {33, "open_menu", false, false},
    {34, "load_pending_save", false, false},
    {35, "load_music_list", false, false},
    {36, "music_list_on", false, false},
    {37, "music_list_off", false, false},
    {38, "screen_setup", false, false},
    {39, "end_function", false, false},
    {40, "set_image_property", false, false},
    {41, "store_unused_text", false, false},
    {42, "hero_scaling", false, false},
    {43, "hero_frame_names", false, false},
    {44, "variable_op", false, false},
    {45, "nop45", false, false},
    {46, "nop46", false, false},
    {47, "reload_menu", true, false},
    {48, "load_sound_set", false, false},
    {49, "load_archive", false, false},
    {50, "change_location", false, false},
    {51, "set_properties", false, false},
    {52, "show_object", false, false},
    {53, "hide_object", false, false},
    {54, "set_picture", false, false},
    {55, "set_flight", false, false},
    {56, "set_bounds", false, false},
    {57, "nudge_object", false, false},
    {58, "animate_object", false, false},
    {59, "set_arrival_function", false, false},
    {60, "randomize_properties", false, false},
    {61, "add_to_properties", false, false},
    {62, "place_object", false, false},
    {63, "drag_object", false, false},
    {64, "property_to_variable", false, false},
    {65, "variable_to_property", false, false},
    {66, "move_object_to", false, false},
    {67, "spin_object", false, false},

    {101, "if_picture", true, true},
    {102, "if_came_from", true, true},
    {103, "if_equal", true, true},
    {104, "if_greater", true, true},
    {105, "not", true, true},
    {106, "if_touching", true, true},
    {107, "and", true, true},
    {108, "or", true, true},
    {109, "if_item_in_hand", true, true},
    {110, "if_has_item", true, true},
    {111, "if_comments_left", true, true},
    {112, "if_dragging", true, true},
    {113, "if_pointer_on", true, true},
    {114, "if_loading_save", true, true},
    {115, "if_not_loading_save", true, true},
    {116, "if_object_exists", true, true},
    {117, "if_chance", true, true},
    {118, "if_pair_item", true, true},
    {119, "if_time_after", true, true},
    {120, "if_time_before", true, true},
    {121, "if_timer_pending", true, true},
};

constexpr size_t kRowCount = sizeof(kRows) / sizeof(kRows[0]);
static_assert(kRowCount == kInstructionRowCount);

}  // namespace

int InstructionRow(int32_t code) {
  const auto u = static_cast<uint32_t>(code);
  if (u >= 1 && u <= kLastCommand) return static_cast<int>(u - 1);
  if (u >= kFirstCondition && u <= kLastCondition) return static_cast<int>(kLastCommand + (u - kFirstCondition));
  return -1;
}

std::span<const TInstructionInfo> InstructionTable() { return kRows; }

const TInstructionInfo* FindInstructionInfo(int32_t code) {
  const int row = InstructionRow(code);
  return row < 0 ? nullptr : &kRows[row];
}

const TInstructionInfo* FindInstructionByMnemonic(std::string_view mnemonic) {
  for (const auto& row : kRows)
    if (mnemonic == row.Mnemonic) return &row;
  return nullptr;
}
