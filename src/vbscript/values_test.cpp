// Variants, arrays and reference counting: sharing, copying, locking and deferred destruction.
#include <gtest/gtest.h>

#include "vbscript/array.h"
#include "vbscript/ref_counted.h"
#include "vbscript/script_error.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {
namespace {

int ErrorOf(auto&& action) {
    try {
        action();
    } catch (const ScriptError& error) {
        return error.number;
    }
    return 0;
}

TEST(VariantValues, CopiesShareStringsAndAppendingInPlaceNeedsSoleOwnership) {
    Variant text(u"ab");
    Variant copy = text;
    EXPECT_FALSE(text.AppendInPlace(u"c"));  // shared: appending would change the copy too
    copy = Variant();
    EXPECT_TRUE(text.AppendInPlace(u"c"));
    EXPECT_EQ(text.string(), u"abc");
}

TEST(VariantValues, MovedFromVariantIsEmpty) {
    Variant text(u"x");
    Variant moved = std::move(text);
    EXPECT_TRUE(text.IsEmpty());  // NOLINT(bugprone-use-after-move): the engine relies on it
    EXPECT_EQ(moved.string(), u"x");
}

TEST(VariantValues, AssignmentKeepsValuesWhateverTheTargetHeld) {
    // Self-assignment, plain and text, keeps the value.
    Variant number(int32_t{5});
    Variant& sameNumber = number;
    number = std::move(sameNumber);
    EXPECT_EQ(number.longValue(), 5);
    Variant text(u"kept");
    Variant& sameText = text;
    text = std::move(sameText);
    text = sameText;
    EXPECT_EQ(text.string(), u"kept");
    // Over a number, a copied string is shared; over a string, the old string is released.
    Variant target(int16_t{1});
    target = text;
    EXPECT_EQ(target.string(), u"kept");
    EXPECT_FALSE(text.AppendInPlace(u"!"));
    target = Variant(int16_t{2});
    EXPECT_TRUE(text.AppendInPlace(u"!"));
    // The value moved in may live inside the array being replaced: it must survive the array.
    int32_t bounds[] = {0};
    Variant holder(Array::Create(bounds, false));
    holder.array()->at(0) = Variant(u"inner");
    holder = std::move(holder.array()->at(0));
    ASSERT_TRUE(holder.IsString());
    EXPECT_EQ(holder.string(), u"inner");
    Variant outer(Array::Create(bounds, false));
    outer.array()->at(0) = Variant(u"copied");
    outer = outer.array()->at(0);
    EXPECT_EQ(outer.string(), u"copied");
}

TEST(VariantValues, ReferencesReachTheVariableTheyNameAndNeverChain) {
    Variant variable(int16_t{1});
    Variant reference = Variant::ReferenceTo(&variable);
    Variant again = Variant::ReferenceTo(&reference);
    again.Target() = Variant(int16_t{7});
    EXPECT_EQ(variable.integer(), 7);
    EXPECT_TRUE(again.IsReference());
}

TEST(ArrayValues, FirstSubscriptVariesFastest) {
    int32_t bounds[] = {1, 2};
    Ref<Array> array = Array::Create(bounds, false);
    EXPECT_EQ(array->size(), 6u);
    Variant at10[] = {Variant(int16_t{1}), Variant(int16_t{0})};
    Variant at01[] = {Variant(int16_t{0}), Variant(int16_t{1})};
    EXPECT_EQ(array->FlatIndex(at10), 1u);
    EXPECT_EQ(array->FlatIndex(at01), 2u);
    Variant outside[] = {Variant(int16_t{2}), Variant(int16_t{0})};
    EXPECT_EQ(ErrorOf([&] { array->FlatIndex(outside); }), err::kSubscriptOutOfRange);
    Variant tooFew[] = {Variant(int16_t{0})};
    EXPECT_EQ(ErrorOf([&] { array->FlatIndex(tooFew); }), err::kSubscriptOutOfRange);
}

TEST(ArrayValues, PreserveKeepsElementsWhenTheLastDimensionGrowsOrShrinks) {
    int32_t bounds[] = {1, 1};
    Ref<Array> array = Array::Create(bounds, false);
    for (size_t i = 0; i < array->size(); ++i) array->at(i) = Variant(static_cast<int16_t>(i));
    int32_t wider[] = {1, 3};
    array->Redimension(wider, true);
    EXPECT_EQ(array->at(3).integer(), 3);
    EXPECT_TRUE(array->at(4).IsEmpty());
    int32_t narrower[] = {1, 0};
    array->Redimension(narrower, true);
    EXPECT_EQ(array->size(), 2u);
    EXPECT_EQ(array->at(1).integer(), 1);
}

TEST(ArrayValues, ElementReferenceLocksTheArrayUntilItGoes) {
    int32_t bounds[] = {3};
    Ref<Array> array = Array::Create(bounds, false);
    {
        Variant element = Variant::ElementOf(array.get(), 2);
        element.Target() = Variant(u"set");
        int32_t smaller[] = {1};
        EXPECT_EQ(ErrorOf([&] { array->Redimension(smaller, false); }), err::kArrayFixedOrLocked);
        EXPECT_EQ(ErrorOf([&] { array->Clear(); }), err::kArrayFixedOrLocked);
    }
    EXPECT_EQ(array->at(2).string(), u"set");
    EXPECT_FALSE(array->locked());
}

TEST(ArrayValues, CopiesAreDeepAndHugeArraysAreOutOfMemory) {
    int32_t bounds[] = {0};
    Ref<Array> inner = Array::Create(bounds, false);
    Ref<Array> outer = Array::Create(bounds, false);
    outer->at(0) = Variant(inner);
    Ref<Array> copy = outer->Clone();
    copy->at(0).array()->at(0) = Variant(u"changed");
    EXPECT_TRUE(inner->at(0).IsEmpty());
    int32_t huge[] = {100000, 100000};
    EXPECT_EQ(ErrorOf([&] { Array::Create(huge, false); }), err::kOutOfMemory);
    int32_t negative[] = {-2};
    EXPECT_EQ(ErrorOf([&] { Array::Create(negative, false); }), err::kSubscriptOutOfRange);
}

TEST(ArrayValues, StoringASharedArrayCopiesItButASoleOneMoves) {
    int32_t bounds[] = {0};
    Ref<Array> array = Array::Create(bounds, false);
    Variant held(array);
    Variant stored = CopyForStore(held);
    EXPECT_NE(stored.array(), array.get());
    Variant sole(Array::Create(bounds, false));
    Array* before = sole.array();
    EXPECT_EQ(CopyForStore(std::move(sole)).array(), before);
}

// Records the order in which values are finalized.
class Tracked final : public RefCounted {
public:
    Tracked(std::vector<int>& log, int id) : log_(log), id_(id) {}
    Ref<Tracked> next;

protected:
    void Finalize() override {
        log_.push_back(id_);
        delete this;
    }

private:
    std::vector<int>& log_;
    int id_;
};

TEST(RefCounting, ReleasingAChainFinalizesEachValueWithoutNesting) {
    std::vector<int> log;
    {
        Ref<Tracked> head(new Tracked(log, 0));
        Tracked* tail = head.get();
        for (int i = 1; i < 100000; ++i) {
            tail->next = Ref<Tracked>(new Tracked(log, i));
            tail = tail->next.get();
        }
    }
    ASSERT_EQ(log.size(), 100000u);
    EXPECT_EQ(log.front(), 0);
    EXPECT_EQ(log.back(), 99999);
}

}  // namespace
}  // namespace taviro::vbscript
