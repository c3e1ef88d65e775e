#include "editor/dictionary_once.h"

#include "dictionary/dic_loader.h"
#include "platform/message_box.h"
#include "speaking/app_context.h"

namespace yomi6 {

void LoadDictionaryOnce(AppContext& context, QWidget* parent) {
    if (context.DictionaryLoaded()) {
        return;
    }
    context.SetDictionaryLoaded(); // set first: a failed load is not repeated for later views
    MessageBoxSink sink(parent);
    LoadDictionary(sink);
}

} // namespace yomi6
