// ui/, the helpers under every window (they include none): the error boundary of every event handler.
#include "guard.h"

#include "dialogs.h"
#include "store/kalimoerror.h"

#include <QString>

#include <exception>
#include <new>

bool RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const KalimoError& e) {
        ReportError(e.message());
    } catch (const std::bad_alloc&) {
        ReportError(QStringLiteral("Mémoire insuffisante"));
    } catch (const std::exception& e) {
        ReportError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
