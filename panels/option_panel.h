#pragma once

#include "panels/dropdown_form.h"
#include "settings/rs_window_placement.h"

#include <QStringList>

#include <functional>

class QPushButton;

namespace mirelon {

class TGradientStrip;
class TPropertyInspector;
class TrsPropSaver;
class TrsStorage;

// What both option panels share: a main strip with the inspector iptDuplicateFiles, a bottom
// strip with "Ok", a property saver PropSaver on the main settings store, and the opening of
// the panel's excluded-folder panel. What the user changes takes effect at once; only "Ok"
// puts the values into the store and writes the settings file.
class TfmOptionPanel : public TfmDropDown {
    Q_OBJECT

public:
    using MessageSink = std::function<void(const QString& text)>;

    static constexpr int kBottomStripHeight = 36;
    static constexpr int kOkTop = 7;
    static constexpr int kOkRightMargin = 8;

    // settings may be null: "Ok" then reports that there is nowhere to save.
    TfmOptionPanel(const QString& formName, TrsStorage* settings, QWidget* parent = nullptr);

    // The panel that "Exclude these folders" drops down, nested in this panel's loop.
    void SetExcludedFoldersPanel(TfmDropDown* panel) { excludedFolders_ = panel; }
    TfmDropDown* ExcludedFoldersPanel() const { return excludedFolders_; }

    // Where errors go; a message box over the panel when unset.
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    // Saves the panel into the store, writes the settings file, then closes. When the file
    // cannot be written the error is shown and the panel stays open.
    void btnOkClick();
    void btnExcludedFoldersClick();

    TGradientStrip* pnlMain = nullptr;
    TGradientStrip* pnlBottom = nullptr;
    TPropertyInspector* iptDuplicateFiles = nullptr;
    QPushButton* btnOk = nullptr;
    TrsPropSaver* PropSaver = nullptr;

protected:
    // Made by a derived panel as the last step of its constructor, once its rows exist; loads
    // the stored values at once.
    void AttachPropSaver(const QStringList& properties, TrsFormPlacementOptions placement);
    void ShowMessage(const QString& text);
    TrsStorage* Settings() const { return settings_; }

private:
    TrsStorage* settings_;
    TfmDropDown* excludedFolders_ = nullptr;
    MessageSink messageSink_;
};

} // namespace mirelon
