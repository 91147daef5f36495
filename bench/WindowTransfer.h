#pragma once

#include <QString>

#include <memory>

namespace bench {

struct WindowTiming {
    double stockSeconds = 0;
    double accountSeconds = 0;
};

// The program's own stock and account transfers: the window over a data
// module, shown on the offscreen platform, the databases chosen with their
// buttons, "Stok bakiyesini aktar" checked, every dialog answered Yes or OK.
// Needs a QApplication. `source` and `target` are the names the window is
// given (plain paths or remote names); `target` must exist with the schema.
class WindowTransfer {
public:
    WindowTransfer(const QString& source, const QString& target, const QString& workFolder);
    ~WindowTransfer();

    // Builds the window and chooses both databases, outside the timing.
    void open();
    WindowTiming run();

private:
    struct Parts;
    QString m_source;
    QString m_target;
    QString m_workFolder;
    std::unique_ptr<Parts> m_parts;
};

}  // namespace bench
