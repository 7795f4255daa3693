// The string list: an owning, growable array of heap strings that may hold holes (null items).
#pragma once

namespace kelvara {

// Flags of StringList::find and StringList::sort.
constexpr unsigned kListCaseSensitive = 0x100;  // compare with exact case
constexpr unsigned kListDescending = 0x200;     // sort: reverse the order
constexpr unsigned kSortAlphabetical = 1;       // sort: as text (locale order)
constexpr unsigned kSortByLength = 2;           // sort: shorter first

class StringList {
  public:
    StringList() = default;
    StringList(const StringList&) = delete;
    StringList& operator=(const StringList&) = delete;
    ~StringList() { destroy(); }

    // Makes the list ready with the given growth step. The array is allocated by the first item
    // stored, so making a list needs no memory and does not fail; the result says whether the
    // list is ready, for callers that make several in a row.
    bool create(int growth);
    // Releases every item and the array; the list is then not created. Safe to repeat.
    void destroy();
    bool isCreated() const { return created_; }

    int count() const { return count_; }
    // Item i, or null when i is outside the list or the item is a hole. The list keeps ownership.
    char* get(int i) const;
    // Stores a copy (null: a hole) after the last item. The new index, or -1 on failure.
    int append(const char* text);
    // Replaces item i by a copy (null: a hole); an index at or past the count grows the list,
    // the new items in between being holes. False when the copy or the growth fails; item i is
    // then a hole.
    bool set(int i, const char* text);
    // Removes item i, later items moving down. True when a non-null item was removed.
    bool removeAt(int i);
    // Releases all items; the count becomes 0.
    void clear();
    // Sorts in place: low byte 1 as text (ignoring case unless kListCaseSensitive), any other low
    // byte by length; kListDescending reverses. Items of equal rank keep no particular order.
    void sort(unsigned mode);
    // Index of the first item from `start` equal to text (ignoring case unless
    // kListCaseSensitive), or -1.
    int find(const char* text, int start, unsigned flags) const;
    // True when the list, sorted as text ignoring case (sort(kSortAlphabetical)), holds an item
    // equal to text in that comparison: a binary search, holes taken as empty texts.
    bool sortedHolds(const char* text) const;
    // New heap string: items 0..last (holes skipped) each followed by a backslash, then tail.
    // Null when the heap is exhausted; the caller frees it.
    char* joinPath(int last, const char* tail) const;

  private:
    bool reserve(int capacity);

    char** items_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
    int growth_ = 0;  // set by create(); zero keeps an unused list in zero-filled storage
    bool created_ = false;
};

}  // namespace kelvara
