#include "core/EditorForwarding.h"

#include "core/EntryProtocol.h"

EditorForwarding::~EditorForwarding() { close(); }

int32_t EditorForwarding::open(const PluginEditor::OpenRequest& request)
{
    close();
    auto editor = makeEditor_();
    if (!editor || !editor->open(request))
        return EntryProtocol::EditorFailed;
    editor_ = std::move(editor);
    return EntryProtocol::Success;
}

void EditorForwarding::close()
{
    if (!editor_)
        return;
    editor_->close();
    editor_.reset();
}

uint8_t EditorForwarding::idle() { return editor_ ? editor_->idle() : 1; }

uint64_t EditorForwarding::windowHandle() const { return editor_ ? editor_->windowHandle() : 0; }

void EditorForwarding::hitTest(uint32_t x, uint32_t y, uint32_t& index, uint32_t& found)
{
    if (!editor_)
        return;
    const auto hits = editor_->hitTest(x, y);
    if (hits.size() == 1) {
        index = hits.front();
        found = 1;
    }
}

void EditorForwarding::notify(uint32_t first, uint32_t second)
{
    if (editor_)
        editor_->notify(first, second);
}

bool EditorForwarding::event(uint32_t first, uint32_t second, uint32_t third)
{
    return editor_ && editor_->event(first, second, third);
}

void EditorForwarding::inputEvent(CoreRecords::EditorEvent& e)
{
    e.answer = editor_ ? editor_->inputEvent(e.words[0], e.words[1], e.words[2], e.words[3], e.words[4]) : 0;
}

void EditorForwarding::inputEventWithPoint(CoreRecords::EditorEvent& e)
{
    e.answer = editor_ ? editor_->inputEventWithPoint(e.words[0], e.words[1], e.words[2], e.words[3], e.words[4],
                                                        e.useCurrentPoint)
                       : 0;
}

int32_t EditorForwarding::showText(const Util::String& text)
{
    if (!editor_)
        return EntryProtocol::EditorFailed;
    editor_->propertyText(text);
    return EntryProtocol::Success;
}

bool EditorForwarding::takesPropertyMessage(uint32_t id, uint32_t size, uint64_t data)
{
    return editor_ && editor_->propertyMessage(id, size, data);
}

void EditorForwarding::runStateChanged(bool running, bool fromUserInterface, bool holdClear)
{
    if (editor_)
        editor_->runStateChanged(running, fromUserInterface, holdClear);
}
