#pragma once
// Which texts of a case one save writes. The numbers travel as the case service's save_b field.

namespace store {

enum class TextsToSave { Judgment = 1, Feedback = 2, Both = 3 };

inline bool savesJudgment(TextsToSave which) { return which != TextsToSave::Feedback; }
inline bool savesFeedback(TextsToSave which) { return which != TextsToSave::Judgment; }

}  // namespace store
