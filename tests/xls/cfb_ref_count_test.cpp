// Intrusive reference counting: shared ownership through copies, and the assignments
// (self, same object, other object) that must neither free too early nor leak.
#include <gtest/gtest.h>

#include <vector>

#include "xls/ref_count.h"

namespace {

using RefCount::SmartPtr;

struct Tracked : RefCount::RefCnt {
  explicit Tracked(int* deleted) : deleted(deleted) {}
  ~Tracked() override { ++*deleted; }
  int* deleted;
};

TEST(SmartPtr, CopiesInAnArrayKeepTheObjectAlive) {
  int deleted = 0;
  std::vector<SmartPtr<Tracked>> array;
  {
    SmartPtr<Tracked> first(new Tracked(&deleted));
    for (int i = 0; i < 3; ++i) array.push_back(first);
    EXPECT_EQ(first->refCount, 4);
  }
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(array[0]->refCount, 3);
  array.clear();
  EXPECT_EQ(deleted, 1);
}

TEST(SmartPtr, AssignmentsOfTheHeldObject) {
  int deleted = 0;
  Tracked* raw = new Tracked(&deleted);
  SmartPtr<Tracked> p(raw);
  p = raw;  // the pointer it already holds, as its only owner
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(p->refCount, 1);
  p = *&p;  // copy-assign from itself
  EXPECT_EQ(deleted, 0);
  EXPECT_EQ(p->refCount, 1);
  SmartPtr<Tracked> second(raw);  // made independently, shares the one count
  EXPECT_EQ(raw->refCount, 2);
  p = second;
  EXPECT_EQ(raw->refCount, 2);
  p = std::move(second);  // the other owner of the same object moves in
  EXPECT_EQ(raw->refCount, 1);
  EXPECT_FALSE(second);
  EXPECT_EQ(deleted, 0);
  p = nullptr;
  EXPECT_EQ(deleted, 1);
  EXPECT_FALSE(p);
}

TEST(SmartPtr, ReplacingReleasesTheOldObject) {
  int deletedA = 0, deletedB = 0;
  SmartPtr<Tracked> a(new Tracked(&deletedA));
  SmartPtr<Tracked> b(new Tracked(&deletedB));
  SmartPtr<Tracked> keep = b;
  a = b;
  EXPECT_EQ(deletedA, 1);
  EXPECT_EQ(b->refCount, 3);
  b = SmartPtr<Tracked>();
  keep = nullptr;
  EXPECT_EQ(deletedB, 0);
  EXPECT_EQ(a->refCount, 1);
}

TEST(RefCnt, CopyOfAHeldObjectStartsItsOwnCount) {
  int deleted = 0;
  SmartPtr<Tracked> p(new Tracked(&deleted));
  SmartPtr<Tracked> q(new Tracked(*p));
  EXPECT_EQ(p->refCount, 1);
  EXPECT_EQ(q->refCount, 1);
  *q = *p;  // assigning contents leaves the counts alone
  EXPECT_EQ(q->refCount, 1);
  q = nullptr;
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(p->refCount, 1);
}

}  // namespace
