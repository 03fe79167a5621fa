#pragma once

#include "settings/rs_window_placement.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace mirelon {

class TrsStorage;

enum TrsPropSaverOption : unsigned {
    poStoreFormPlacement = 1u << 0,
    // Kept on everywhere; the saver declares no default values, so it changes nothing.
    poStoreDefValues = 1u << 1,
};
using TrsPropSaverOptions = unsigned;

enum TrsWhenLoad { wlManual, wlOnCreate };
enum TrsWhenSave { wsManual, wsOnClose };

// Copies listed properties of a window's controls into one section of a TrsStorage and back,
// and optionally the window's placement under the key "FormPlacement". Each line of Properties
// is a dotted path from the window (see ResolvePropertyPath); its key has the same name.
//
// Automatic moments: with wlOnCreate the window calls WindowCreated() as the last step of its
// constructor, once its controls exist. With wsOnClose the saver watches the window's close
// event: the window's own closeEvent runs first, and the saver saves unless it refused the
// close. Errors of these automatic moments go to the error handler (a message box by default),
// their text followed by the settings file and the key they concern; the remaining lines are
// skipped and the window carries on. A destroyed saver does nothing.
class TrsPropSaver : public QObject {
    Q_OBJECT

public:
    using ErrorHandler = std::function<void(const QString& message)>;

    // The saver belongs to the window and lives as its child.
    explicit TrsPropSaver(QWidget* window);

    QWidget* Window() const { return window_; }

    bool Active() const { return active_; }
    void SetActive(bool active) { active_ = active; }

    TrsStorage* Storage() const { return storage_; }
    void SetStorage(TrsStorage* storage) { storage_ = storage; }

    const QString& RootSection() const { return rootSection_; }
    void SetRootSection(const QString& section) { rootSection_ = section; }

    const QStringList& Properties() const { return properties_; }
    void SetProperties(const QStringList& properties) { properties_ = properties; }

    TrsPropSaverOptions Options() const { return options_; }
    void SetOptions(TrsPropSaverOptions options) { options_ = options; }

    // An empty set also turns poStoreFormPlacement off, a non-empty one turns it on.
    TrsFormPlacementOptions FormPlacementOptions() const { return placementOptions_; }
    void SetFormPlacementOptions(TrsFormPlacementOptions options);

    TrsWhenLoad WhenLoad() const { return whenLoad_; }
    void SetWhenLoad(TrsWhenLoad when) { whenLoad_ = when; }
    TrsWhenSave WhenSave() const { return whenSave_; }
    void SetWhenSave(TrsWhenSave when) { whenSave_ = when; }

    void SetErrorHandler(ErrorHandler handler) { errorHandler_ = std::move(handler); }

    // Stored values into the listed properties, then the placement. Keys the store lacks and
    // paths that name no property are skipped. Throws when a value cannot be converted.
    void Load();
    // The listed properties into the store, then the placement; a path that names no property
    // has its key deleted. The file is not written: the owner flushes the store when it wants.
    void Save();

    // Runs Load when WhenLoad is wlOnCreate and the saver is active.
    void WindowCreated();

    // Whether the last Load applied a stored position, so that the window should not be
    // centred over it when shown.
    bool PlacementRestored() const { return placementRestored_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectSection();
    void RunReportingErrors(void (TrsPropSaver::*step)());
    // The settings file and the key an error is about, as lines to add to its text.
    QString WhereText() const;
    void ReportError(const QString& message);

    QWidget* window_;
    TrsStorage* storage_ = nullptr;
    bool active_ = true;
    QString rootSection_;
    QStringList properties_;
    TrsPropSaverOptions options_ = poStoreFormPlacement | poStoreDefValues;
    TrsFormPlacementOptions placementOptions_ = pfpPlacement | pfpSize | pfpState;
    TrsWhenLoad whenLoad_ = wlManual;
    TrsWhenSave whenSave_ = wsManual;
    ErrorHandler errorHandler_;
    bool placementRestored_ = false;
};

} // namespace mirelon
