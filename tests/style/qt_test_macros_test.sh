#!/bin/bash
# Qt Test's QVERIFY, QCOMPARE and QTRY_ macros report to Qt's own logger and return: under
# GoogleTest a failed one passes the test silently. Waits use ASSERT_TRUE(QTest::qWaitFor(...)).
cd "$(dirname "$0")/../.." || exit 1
found=$(git grep -nE '\b(QVERIFY|QCOMPARE|QTRY_[A-Z_]+|QFAIL)\b' -- 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' || true)
if [ -n "$found" ]; then
  echo "Qt Test's check macros do not fail a GoogleTest test:"
  echo "$found"
  exit 1
fi
