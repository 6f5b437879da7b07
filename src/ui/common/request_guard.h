#pragma once
// While a request to the case service is under way the windows keep painting and show the busy
// cursor, but take no input: the user acts on the answer, not beside it. Esc cancels the request
// (and closes no window); the hint says so in the tooltip place under the pointer.
#include <QObject>
#include <functional>
#include <optional>

#include "ui/common/busy_cursor.h"

namespace ui {

class RequestGuard : public QObject {
public:
    // cancel: gives up the requests under way.
    explicit RequestGuard(std::function<void()> cancel, QObject* parent = nullptr);
    ~RequestGuard() override;

    // The exchange's busy state: true when the first request starts, false after the last.
    void setBusy(bool busy);
    bool busy() const { return cursor_.has_value(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> cancel_;
    std::optional<BusyCursor> cursor_;
};

}  // namespace ui
