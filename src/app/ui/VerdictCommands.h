#pragma once

class QMainWindow;

namespace velmora {

class CQuillonView;

// The song verification's commands in the frame's menu: Verify > "Verify Song Checks" (a
// setting kept across starts) and "Only Rows with a Reason" (a filter of the result list),
// and File > "Undo Quarantine...", which takes back a Move of verified songs.
void AddVerdictCommands(QMainWindow &frame, CQuillonView &view);

} // namespace velmora
