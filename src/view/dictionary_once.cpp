#include "view/dictionary_once.h"

#include "dictionary/dic_loader.h"
#include "platform/message_box.h"

namespace yomi6 {

namespace {
bool g_dictionaryLoaded = false;
}

void LoadDictionaryOnce(QWidget* parent) {
    if (g_dictionaryLoaded) {
        return;
    }
    g_dictionaryLoaded = true; // set first: a failed load is not repeated for later views
    MessageBoxSink sink(parent);
    LoadDictionary(sink);
}

} // namespace yomi6
