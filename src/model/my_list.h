#pragma once
// Doubly linked lists with one built-in cursor: every traversal in the program
// goes First / Next / Prev over the cursor; there is no indexed access.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Under AddressSanitizer a node given back is poisoned, so that a use of an
// unlinked node is caught as it was when each node was freed.
#if defined(__SANITIZE_ADDRESS__)
#define VELLUMAR_ASAN_NODES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELLUMAR_ASAN_NODES 1
#endif
#endif
#ifdef VELLUMAR_ASAN_NODES
#include <sanitizer/asan_interface.h>
#endif

namespace vellumar {

template <class T> struct TNode {
    TNode* Prev = nullptr;
    T* Data = nullptr;
    TNode* Next = nullptr;
};

// The nodes of one list, made in blocks that the list owns: a long list costs
// an allocation per block, not per item, and is let go of at once. A node
// given back is used again by the next one made.
template <class T> class NodeBlocks {
public:
    TNode<T>* New(TNode<T>* prev, T* item, TNode<T>* next) {
        TNode<T>* node = spare_;
        if (node) {
            Poison(node, false);
            spare_ = node->Next;
        } else {
            if (used_ == size_) Grow();
            node = &blocks_.back()[used_++];
        }
        *node = TNode<T>{prev, item, next};
        return node;
    }
    void Delete(TNode<T>* node) {
        node->Next = spare_;
        spare_ = node;
        Poison(node, true);
    }

private:
    static void Poison([[maybe_unused]] TNode<T>* node, [[maybe_unused]] bool poisoned) {
#ifdef VELLUMAR_ASAN_NODES
        if (poisoned)
            ASAN_POISON_MEMORY_REGION(node, sizeof *node);
        else
            ASAN_UNPOISON_MEMORY_REGION(node, sizeof *node);
#endif
    }
    static constexpr size_t FirstBlock = 16;
    // Blocks stay under 64 KiB: the C library's free of a larger block first
    // gathers up every small block freed before it, which made letting go of
    // a long list (its spells go first) much slower.
    static constexpr size_t LargestBlock = 2048;
    void Grow() {
        const size_t size = blocks_.empty() ? FirstBlock : std::min(size_ * 2, LargestBlock);
        auto block = std::make_unique<TNode<T>[]>(size);
        blocks_.push_back(std::move(block)); // a failed push leaves the block to `block`
        size_ = size;
        used_ = 0;
    }
    std::vector<std::unique_ptr<TNode<T>[]>> blocks_;
    size_t size_ = 0; // of the last block
    size_t used_ = 0; // of the last block
    TNode<T>* spare_ = nullptr;
};

// The list owns its nodes, never its items: derived lists decide whether the
// items are theirs and release them.
template <class T> class tMyList {
public:
    tMyList() {
        Head.Next = &Tail;
        Tail.Prev = &Head;
    }
    virtual ~tMyList() = default;
    tMyList(const tMyList&) = delete;
    tMyList& operator=(const tMyList&) = delete;

    void First() { Current = Count_ > 0 ? Head.Next : nullptr; }
    void Next() {
        if (Current) Current = Current->Next == &Tail ? nullptr : Current->Next;
    }
    void Prev() {
        if (Current) Current = Current->Prev == &Head ? nullptr : Current->Prev;
    }
    void Append(T* item) {
        if (!item) return;
        LinkBefore(&Tail, item);
    }
    // Unlinks the node under the cursor; the item itself is not released here.
    virtual void DeleteCurrent() { Unlink(); }

    T* CurrentItem() const { return Current ? Current->Data : nullptr; }
    bool HasCurrent() const { return Current != nullptr; }
    int32_t Count() const { return Count_; }
    T* LastItem() const { return Count_ > 0 ? Tail.Prev->Data : nullptr; }

    // Unsaved-changes flag, set and cleared only by the windows that own the list.
    bool Modified = false;

protected:
    // Removes the current node and returns its item; the cursor moves to the
    // item before, or to the new first item when the first was removed.
    T* Unlink() {
        if (!Current || Current == &Head || Current == &Tail) return nullptr;
        TNode<T>* node = Current;
        T* item = node->Data;
        node->Prev->Next = node->Next;
        node->Next->Prev = node->Prev;
        if (node->Prev != &Head)
            Current = node->Prev;
        else
            Current = node->Next == &Tail ? nullptr : node->Next;
        nodes_.Delete(node);
        --Count_;
        return item;
    }
    TNode<T>* LinkBefore(TNode<T>* at, T* item) {
        TNode<T>* node = nodes_.New(at->Prev, item, at);
        at->Prev->Next = node;
        at->Prev = node;
        ++Count_;
        return node;
    }

    TNode<T> Head;
    TNode<T> Tail;
    TNode<T>* Current = nullptr;
    int32_t Count_ = 0;

private:
    NodeBlocks<T> nodes_;
};

template <class T> class tSortedList : public tMyList<T> {
public:
    using CompareFn = int32_t (*)(const T& newItem, const T& heldItem);

    tSortedList(CompareFn compare, bool unique) : Unique(unique), Compare(compare) {}

    // Links the item in its ordered place; refuses a missing item, and an equal
    // one when Unique is set. Equal items otherwise go after their equals.
    bool Insert(T* item) {
        TNode<T>* place = PlaceOf(item);
        if (!place) return false;
        this->LinkBefore(place, item);
        return true;
    }

    // As Insert, but looks first right after the cursor and leaves the cursor
    // on the new item, so items given in order go in one step each.
    bool InsertAfterCursor(T* item) {
        if (!item) return false;
        TNode<T>* at = this->Current ? this->Current : &this->Head;
        TNode<T>* place = FitsBetween(*item, at, at->Next) ? at->Next : PlaceOf(item);
        if (!place) return false;
        this->Current = this->LinkBefore(place, item);
        return true;
    }

    bool Contains(const T* item) const {
        if (!item) return false;
        for (const TNode<T>* node = this->Head.Next; node != &this->Tail; node = node->Next)
            if (Compare(*item, *node->Data) == 0) return true;
        return false;
    }

    bool Unique;
    CompareFn Compare;

private:
    // The node the item goes before, or none when it is refused.
    TNode<T>* PlaceOf(const T* item) {
        if (!item) return nullptr;
        // Files are written in order, so readers append: try the end first.
        // For a consistent order this gives exactly the result of the walk.
        if (this->Count_ > 0) {
            const int32_t last = Compare(*item, *this->Tail.Prev->Data);
            if (last > 0 || (last == 0 && !Unique)) return &this->Tail;
            if (last == 0) return nullptr;
        }
        TNode<T>* node = this->Head.Next;
        while (node != &this->Tail) {
            const int32_t c = Compare(*item, *node->Data);
            if (c < 0) break;
            if (c == 0 && Unique) return nullptr;
            node = node->Next;
        }
        return node;
    }
    // Whether the item's ordered place lies between these neighbours (head and
    // tail stand for the ends), as the walk would find it.
    bool FitsBetween(const T& item, const TNode<T>* before, const TNode<T>* after) const {
        if (before != &this->Head) {
            const int32_t c = Compare(item, *before->Data);
            if (c < 0 || (c == 0 && Unique)) return false;
        }
        return after == &this->Tail || Compare(item, *after->Data) < 0;
    }
};

} // namespace vellumar
