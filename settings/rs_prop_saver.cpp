#include "settings/rs_prop_saver.h"

#include "settings/rs_exception.h"
#include "settings/rs_property_path.h"
#include "settings/rs_property_value.h"
#include "settings/rs_storage.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

#include <exception>

namespace mirelon {

namespace {

constexpr const char* kPlacementKey = "FormPlacement";

} // namespace

TrsPropSaver::TrsPropSaver(QWidget* window) : QObject(window), window_(window) {
    if (window_ != nullptr)
        window_->installEventFilter(this);
}

void TrsPropSaver::SetFormPlacementOptions(TrsFormPlacementOptions options) {
    placementOptions_ = options;
    if (options == 0)
        options_ &= ~poStoreFormPlacement;
    else
        options_ |= poStoreFormPlacement;
}

void TrsPropSaver::SelectSection() {
    if (storage_ == nullptr)
        throw TrsException("TrsPropSaver error: no storage.");
    storage_->SetRootSection(rootSection_.toStdString());
}

void TrsPropSaver::Load() {
    SelectSection();
    for (const QString& line : properties_) {
        if (storage_->FindKey(line.toStdString(), false) < 0)
            continue;
        const std::optional<TrsPropertyTarget> target = ResolvePropertyPath(window_, line);
        if (target)
            LoadPropertyValue(*target->object, target->property, storage_->Key());
    }
    placementRestored_ = false;
    if ((options_ & poStoreFormPlacement) != 0 && window_ != nullptr &&
        storage_->FindKey(kPlacementKey, false) >= 0) {
        const QString text = QString::fromStdString(storage_->Key().AsString());
        // Each part is restored on its own; only a restored position keeps centring away.
        const bool restored = RestoreWindowPlacement(*window_, text, placementOptions_);
        placementRestored_ = restored && (placementOptions_ & pfpPlacement) != 0;
    }
}

void TrsPropSaver::Save() {
    SelectSection();
    for (const QString& line : properties_) {
        const std::string name = line.toStdString();
        const std::optional<TrsPropertyTarget> target = ResolvePropertyPath(window_, line);
        bool saved = false;
        if (target) {
            storage_->FindKey(name, true);
            saved = SavePropertyValue(*target->object, target->property, storage_->Key());
        }
        if (!saved)
            storage_->DeleteKey(name);
    }
    if ((options_ & poStoreFormPlacement) != 0 && window_ != nullptr) {
        storage_->FindKey(kPlacementKey, true);
        storage_->Key().WriteString(WindowPlacementText(*window_).toStdString());
    }
}

void TrsPropSaver::WindowCreated() {
    if (active_ && whenLoad_ == wlOnCreate)
        RunReportingErrors(&TrsPropSaver::Load);
}

bool TrsPropSaver::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::Close || whenSave_ != wsOnClose)
        return QObject::eventFilter(watched, event);
    // The window's own close handling comes first; its verdict stays in the event.
    watched->event(event);
    if (event->isAccepted() && active_)
        RunReportingErrors(&TrsPropSaver::Save);
    return true;
}

void TrsPropSaver::RunReportingErrors(void (TrsPropSaver::*step)()) {
    try {
        (this->*step)();
    } catch (const std::exception& error) {
        ReportError(QString::fromStdString(error.what()) + WhereText());
    }
}

QString TrsPropSaver::WhereText() const {
    if (storage_ == nullptr)
        return {};
    QString text;
    if (const TrsStorageData* data = storage_->StorageData(); data && !data->Location().empty())
        text += QStringLiteral("\nSettings file: ") + QString::fromStdString(data->Location());
    // A step that fails on a value fails while that value's key is the current one.
    const TrsKeyWrapper& key = storage_->Key();
    if (key.Assigned()) {
        text += QStringLiteral("\nKey: ") + QString::fromStdString(key.Name());
        const std::string section = key.SectionName();
        if (!section.empty())
            text += QStringLiteral(" in section [") + QString::fromStdString(section) + ']';
    }
    return text.isEmpty() ? text : QStringLiteral("\n") + text;
}

void TrsPropSaver::ReportError(const QString& message) {
    if (errorHandler_) {
        errorHandler_(message);
        return;
    }
    QMessageBox::critical(window_, QGuiApplication::applicationDisplayName(), message);
}

} // namespace mirelon
