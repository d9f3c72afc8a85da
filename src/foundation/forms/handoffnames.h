#pragma once

// Names of dynamic properties that dialogs of several layers share (the convention of
// docs/ARCHITECTURE.md "Hand-offs and aliases"): defined once here, so that a screen may use the
// dialogs of every layer below it.

namespace handoff {
// The opener's tag ("jh", "th", "xs" …) for the note presets, the handler chooser, the type
// and region lists.
inline constexpr const char *CallerTag = "callerTag";
// The note presets' answer.
inline constexpr const char *NoteText = "noteText";
}  // namespace handoff
