#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace zelvana::accessibility {

// A set of edge flags over the bits of a signed 64-bit raw value. A value type.
class Edge {
public:
    constexpr Edge() = default;
    constexpr explicit Edge(std::int64_t rawValue) : rawValue_(rawValue) {}
    // The union of the members.
    constexpr Edge(std::initializer_list<Edge> members) {
        for (Edge member : members) rawValue_ |= member.rawValue_;
    }

    constexpr std::int64_t rawValue() const { return rawValue_; }
    constexpr bool isEmpty() const { return rawValue_ == 0; }
    constexpr bool contains(Edge member) const {
        return (rawValue_ & member.rawValue_) == member.rawValue_;
    }
    constexpr bool isSubset(Edge of) const { return of.contains(*this); }
    constexpr bool isSuperset(Edge of) const { return contains(of); }
    constexpr Edge unionWith(Edge other) const { return Edge(rawValue_ | other.rawValue_); }
    constexpr Edge intersection(Edge other) const { return Edge(rawValue_ & other.rawValue_); }
    constexpr Edge symmetricDifference(Edge other) const {
        return Edge(rawValue_ ^ other.rawValue_);
    }
    constexpr Edge subtracting(Edge other) const { return Edge(rawValue_ & ~other.rawValue_); }
    constexpr void insert(Edge member) { rawValue_ |= member.rawValue_; }
    constexpr void remove(Edge member) { rawValue_ &= ~member.rawValue_; }
    constexpr bool operator==(const Edge&) const = default;

    // The raw value in base 2, lowercase, no prefix ("101" for 5, "-101" for -5).
    std::string description() const;

private:
    std::int64_t rawValue_ = 0;
};

}  // namespace zelvana::accessibility
