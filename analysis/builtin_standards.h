#pragma once

// The four built-in standards (UTF-8, as the standard editor shows them): letters from the most
// frequent down, or from the rarest up, the blank included.

namespace varn {

inline constexpr const char* kRussianAscending = "ёфэщцшюжхйчгбьъзыяупдмклврстниаео ";
inline constexpr const char* kRussianDescending = " оеаинтсрвлкмдпуяызъьбгчйхжюшцщэфё";
inline constexpr const char* kEnglishAscending = "zjxqkvgbywmfpucdlhrsinoate ";
inline constexpr const char* kEnglishDescending = " etaonisrhldcupfmwybgvkqxjz";

}  // namespace varn
