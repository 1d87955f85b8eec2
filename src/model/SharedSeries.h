#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <vector>

namespace glimmer {

/// A series of bars shared between copies until one of them changes it. Entries are copied to
/// every reader and every card on each refresh; with hundreds of securities copying the bars
/// themselves would cost more than fetching them.
template <typename T>
class SharedSeries {
public:
    using value_type = T;
    using size_type = std::size_t;
    using const_iterator = typename std::vector<T>::const_iterator;
    using iterator = const_iterator;

    SharedSeries() = default;
    SharedSeries(std::vector<T> items) // NOLINT(google-explicit-constructor): assigned from parsed vectors
        : shared(items.empty() ? nullptr : std::make_shared<std::vector<T>>(std::move(items))) {}
    SharedSeries(std::initializer_list<T> items) : SharedSeries(std::vector<T>(items)) {}

    operator const std::vector<T>&() const { return items(); } // NOLINT(google-explicit-constructor)
    const std::vector<T>& items() const { return shared ? *shared : none(); }

    bool empty() const { return !shared || shared->empty(); }
    size_type size() const { return shared ? shared->size() : 0; }
    const_iterator begin() const { return items().begin(); }
    const_iterator end() const { return items().end(); }
    const T& front() const { return items().front(); }
    const T& back() const { return items().back(); }
    const T& operator[](size_type i) const { return items()[i]; }

    /// Writers get a copy of their own when the bars are shared.
    T& operator[](size_type i) { return own()[i]; }
    T& back() { return own().back(); }
    void push_back(T item) { own().push_back(std::move(item)); }
    void reserve(size_type n) { own().reserve(n); }
    void resize(size_type n) { own().resize(n); }
    void clear() { shared.reset(); }

    /// Whether both hold the very same bars (cheaper than comparing them).
    bool sharesWith(const SharedSeries& other) const { return shared == other.shared; }

    friend bool operator==(const SharedSeries& a, const SharedSeries& b) {
        return a.shared == b.shared || a.items() == b.items();
    }

private:
    static const std::vector<T>& none() {
        static const std::vector<T> empty;
        return empty;
    }
    std::vector<T>& own() {
        if (!shared || shared.use_count() > 1) shared = std::make_shared<std::vector<T>>(items());
        return *shared;
    }

    std::shared_ptr<std::vector<T>> shared;
};

} // namespace glimmer
