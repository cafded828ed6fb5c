#include "app/SummonKey.h"

#include <QKeySequence>
#include <utility>

#include "common/Messages.h"
#include "platform/qt/SummonChord.h"

namespace nagitori {

namespace {

// %1: the key as the user sees it; %2: the command to bind.
constexpr char kTaken[] =
    "呼び出しキー「%1」は他のショートカットに使われているため、登録できませんでした。\n"
    "別のキーを選ぶか、デスクトップのキーボード設定で空いているキーに次のコマンドを割り当ててください。\n\n%2";
constexpr char kFailed[] =
    "呼び出しキー「%1」を登録できませんでした。\n"
    "デスクトップのキーボード設定で、このキーに次のコマンドを割り当ててください。\n\n%2";
constexpr char kUnsupported[] =
    "このデスクトップには呼び出しキーを登録できません。\n"
    "デスクトップのキーボード設定で、「%1」に次のコマンドを割り当ててください。\n\n%2";

}  // namespace

SummonKey::SummonKey(Desktop& desktop, QWidget& window, std::unique_ptr<SummonKeyBinding> binding, QString command)
    : desktop_(desktop), window_(window), binding_(std::move(binding)), command_(std::move(command)) {}

void SummonKey::Apply(const QString& portableText, bool atStartUp) {
    const bool settled = status_ == SummonKeyStatus::kBound || status_ == SummonKeyStatus::kUnsupported;
    if (applied_ == portableText && (portableText.isEmpty() || settled)) {
        return;
    }
    applied_ = portableText;
    status_.reset();
    if (portableText.isEmpty()) {
        binding_->Unbind();
        return;
    }
    const QKeySequence sequence = QKeySequence::fromString(portableText, QKeySequence::PortableText);
    const QString shown = sequence.toString(QKeySequence::NativeText);
    const std::optional<KeyChord> chord = SummonChord(sequence);
    if (!chord) {
        binding_->Unbind();
        desktop_.MessageBox(&window_, QString::fromUtf8(messages::kUnusableSummonKey).arg(shown), mb::kIconWarning);
        return;
    }
    status_ = binding_->Bind(*chord);
    if (*status_ != SummonKeyStatus::kUnsupported || !atStartUp) {
        Report(*status_, shown);
    }
}

void SummonKey::Report(SummonKeyStatus status, const QString& shownKey) {
    const char* text = nullptr;
    switch (status) {
        case SummonKeyStatus::kBound: return;
        case SummonKeyStatus::kTaken: text = kTaken; break;
        case SummonKeyStatus::kFailed: text = kFailed; break;
        case SummonKeyStatus::kUnsupported: text = kUnsupported; break;
    }
    desktop_.MessageBox(&window_, QString::fromUtf8(text).arg(shownKey, command_), mb::kIconWarning);
}

}  // namespace nagitori
