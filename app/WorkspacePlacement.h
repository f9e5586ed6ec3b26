#pragma once
// Where a new window of the workspace opens.
class QWidget;

namespace qv {

// A new window opens where the user can see it: the workspace frame around
// `window` is moved (never shrunk) into the workspace's visible area as far
// as it fits there. A window without a workspace frame, or a maximised one,
// is left as it is.
void keepInsideWorkspace(QWidget& window);

}  // namespace qv
