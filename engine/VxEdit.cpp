#include "engine/VxEdit.h"

#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditDisplayMetrics.h"
#include "engine/VxEditFindRequest.h"
#include "engine/VxEditMirrorFile.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "mvc/VxEditMsg.h"

using tarrow::foundation::IMessage;
using tarrow::foundation::ISubject;
using tarrow::foundation::MakeRef;

VxEdit::VxEdit()
    : buffer_(std::make_unique<VxEditTextBuffer>()),
      metrics_(std::make_unique<VxEditDisplayMetrics>())
{
}

VxEdit::~VxEdit()
{
    if (config_)
        config_->Detach(this);
    if (composite_)
        std::exchange(composite_, nullptr)->Release();
}

std::unique_ptr<VxEditTextBuffer> VxEdit::CreateTextBuffer()
{
    return std::make_unique<VxEditTextBuffer>();
}

std::unique_ptr<VxEditDisplayMetrics> VxEdit::CreateDisplayMetrics()
{
    return std::make_unique<VxEditDisplayMetrics>();
}

std::unique_ptr<VxEditMirrorFile> VxEdit::CreateMirrorFile(const std::string& target)
{
    return std::make_unique<VxEditMirrorFile>(target);
}

void VxEdit::NotifyAll(IMessage* message)
{
    UpdateAllObservers(nullptr, message);
}

void VxEdit::NotifyAll(int messageId)
{
    auto message = MakeRef<VxEditMsg>(messageId);
    NotifyAll(message.Get());
}

int VxEdit::OpenWithConfig(const std::string& name)
{
    const int found = SetLangConfigByName(name);
    NewText();
    return found;
}

void VxEdit::NewText()
{
    if (!config_)
        SetLangConfigByName("Default");
    if (composite_)
        std::exchange(composite_, nullptr)->Release();
    MvcTransactionModel::ClearHistory();
    modified_ = 0;
    savePoint_ = 0;
    buffer_ = CreateTextBuffer();
    detectedIndent_ = VxEditIndentUnit();
    ResetLineData();
    RebuildDisplayMetrics();
    NotifyAll(kMsgInitController);
}

void VxEdit::ResetLineData()
{
    marks_.Reset(buffer_->LineCount());
    colour_.Reset(buffer_->LineCount());
    spans_.clear();
    scanPosition_ = 0;
    longLineColumns_.Forget();
}

void VxEdit::ResetColouring()
{
    colour_.DropAll();
    spans_.clear();
    scanPosition_ = 0;
    longLineColumns_.Forget();
}

void VxEdit::SetLangConfig(VxEditLangConfig* config)
{
    if (config == config_.Get())
        return;
    if (config_)
        config_->Detach(this);
    config_ = config;
    if (config_)
        config_->Attach(this);
    ResetColouring();
    RebuildDisplayMetrics();
    NotifyAll(kMsgInvalidateColouring);
}

int VxEdit::SetLangConfigByName(const std::string& name)
{
    VxEditLangConfig* config = VxEditLangConfigRegistry::Instance().Get(name);
    if (!config)
        return 0;
    SetLangConfig(config);
    return 1;
}

void VxEdit::SetDisplayMetrics(const VxEditDisplayMetrics& metrics)
{
    *metrics_ = metrics;
    NotifyAll(kMsgFontUpdate);
}

void VxEdit::RebuildDisplayMetrics()
{
    auto metrics = CreateDisplayMetrics();
    if (config_) {
        metrics->faceName = config_->GetFaceName();
        metrics->pointSize = config_->GetSize();
        metrics->bold = config_->GetBold();
        metrics->italic = config_->GetItalic();
    }
    metrics_ = std::move(metrics);
}

std::string_view VxEdit::VisibleWhitespaceGlyph(bool tab) const
{
    // U+00BB and U+00B7, the glyphs the single-byte code pages drew.
    return tab ? "\xC2\xBB" : "\xC2\xB7";
}

int VxEdit::TabSize() const
{
    const int size = config_ ? config_->GetTabSize() : 4;
    return size < 1 ? 1 : size;
}

void VxEdit::Update(ISubject* subject, IMessage* message)
{
    if (!message || subject != static_cast<ISubject*>(config_.Get()))
        return;
    switch (message->GetId()) {
    case kMsgInvalidateColouring:
        ResetColouring();
        NotifyAll(message);
        break;
    case kMsgFontUpdate:
        RebuildDisplayMetrics();
        NotifyAll(message);
        break;
    default:
        break;
    }
}

std::int64_t VxEdit::Find(VxEditFindRequest& request)
{
    return buffer_->Find(request);
}
