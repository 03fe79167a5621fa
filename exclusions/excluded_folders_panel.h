#pragma once

#include "exclusions/check_state_store.h"
#include "panels/dropdown_form.h"
#include "scan/exclusion_provider.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;

namespace mirelon {

class TcxDriveInfo;
class TFolderTree;
class TGradientStrip;

// What both excluded-folder panels share: the folder tree vclExplorer over a check-state store
// read from the panel's file when the panel is made, and "Ok", which writes the file. Ticks
// count at once, since the store is live; only "Ok" keeps them for the next start.
class TfmExcludedFoldersPanel : public TfmDropDown {
    Q_OBJECT

public:
    using MessageSink = std::function<void(const QString& text)>;

    static constexpr int kClientWidth = 285;
    static constexpr int kClientHeight = 172;
    static constexpr int kBottomStripHeight = 36;

    // filePath is the panel's exclusion file; it need not exist. listName says what the list
    // is for, as messages name it ("the scan").
    TfmExcludedFoldersPanel(const QString& formName, const QString& listName, std::string filePath,
                            std::shared_ptr<const TcxDriveInfo> drives, QWidget* parent = nullptr);

    const std::string& FilePath() const { return filePath_; }
    // What the user should be told about a file that could not be read fully when the panel was
    // made: which list was reset and where the file was kept. Empty when the file was whole.
    const QString& DamageNotice() const { return damageNotice_; }
    std::shared_ptr<TCheckStateStore> Store() const { return store_; }
    std::shared_ptr<const TcxDriveInfo> Drives() const { return drives_; }

    // The ticked folders as a search compares paths with them.
    std::vector<std::string> ExcludedFolderList() const;
    // The same list, asked for when it is needed; it stays valid after the panel has gone.
    std::shared_ptr<IExclusionProvider> ExclusionProvider() const;

    // Where errors go; a message box over the panel when unset.
    void SetMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

    // Writes the file, then closes. When the file cannot be written the error is shown and the
    // panel stays open.
    void btnOkClick();

    TGradientStrip* pnlMain = nullptr;
    TFolderTree* vclExplorer = nullptr;
    TGradientStrip* pnlBottom = nullptr;
    QPushButton* btnOk = nullptr;

private:
    // Reads the file into the store; a missing file ticks nothing, a damaged one what could be
    // read before the damage, and the damaged file is renamed aside before "Ok" can replace it.
    void fmDropDownCreate();
    void ShowMessage(const QString& text);

    QString listName_;
    std::string filePath_;
    QString damageNotice_;
    std::shared_ptr<const TcxDriveInfo> drives_;
    std::shared_ptr<TCheckStateStore> store_ = std::make_shared<TCheckStateStore>();
    MessageSink messageSink_;
};

} // namespace mirelon
