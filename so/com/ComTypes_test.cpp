// The COM types as the service object uses them. Natively this checks the
// subset in platform/com.h; under wine the same cases run against oleaut32,
// which keeps the subset honest.
#include "platform/com.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using platform::FromBstr;
using platform::ToBstr;

TEST(Bstr, HoldsItsLengthInFrontAndAZeroBehind) {
  BSTR text = ToBstr(std::u16string(u"ab\0c", 4));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 4u);
  uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
  EXPECT_EQ(bytes, 8u) << "the prefix counts bytes";
  EXPECT_EQ(text[4], 0);
  EXPECT_EQ(FromBstr(text), std::u16string(u"ab\0c", 4)) << "embedded zeros survive";
  SysFreeString(text);
}

TEST(Bstr, AllocStringStopsAtTheFirstZeroAndNullIsEmpty) {
  BSTR text = SysAllocString(platform::OleText(u"h\u00e9llo"));
  EXPECT_EQ(SysStringLen(text), 5u);
  EXPECT_EQ(FromBstr(text), u"h\u00e9llo");
  SysFreeString(text);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(FromBstr(nullptr), u"");
  SysFreeString(nullptr);
  BSTR zeros = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(zeros, nullptr);
  EXPECT_EQ(SysStringLen(zeros), 3u);
  SysFreeString(zeros);
}

TEST(Variant, ClearFreesTheStringAndCopyDuplicatesIt) {
  VARIANT a;
  VariantInit(&a);
  EXPECT_EQ(a.vt, VT_EMPTY);
  a.vt = VT_BSTR;
  a.bstrVal = ToBstr(u"text");
  VARIANT b;
  VariantInit(&b);
  ASSERT_EQ(VariantCopy(&b, &a), S_OK);
  EXPECT_EQ(b.vt, VT_BSTR);
  EXPECT_NE(b.bstrVal, a.bstrVal);
  EXPECT_EQ(FromBstr(b.bstrVal), u"text");
  EXPECT_EQ(VariantClear(&a), S_OK);
  EXPECT_EQ(a.vt, VT_EMPTY);
  EXPECT_EQ(FromBstr(b.bstrVal), u"text") << "the copy owns its own string";
  VariantClear(&b);
}

struct NumberCase {
  VARTYPE from;
  double value;  // stored in the source's own type
  VARTYPE to;
  HRESULT expected;
  double result;
};

VARIANT Make(VARTYPE type, double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  switch (type) {
    case VT_I2: v.iVal = static_cast<SHORT>(value); break;
    case VT_I4: v.lVal = static_cast<LONG>(value); break;
    case VT_UI1: v.bVal = static_cast<BYTE>(value); break;
    case VT_UI2: v.uiVal = static_cast<USHORT>(value); break;
    case VT_UI4: v.ulVal = static_cast<ULONG>(value); break;
    case VT_R8: v.dblVal = value; break;
    case VT_BOOL: v.boolVal = static_cast<VARIANT_BOOL>(value); break;
    default: ADD_FAILURE() << "no maker for type " << type;
  }
  return v;
}

double Read(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2: return v.iVal;
    case VT_I4: return v.lVal;
    case VT_UI1: return v.bVal;
    case VT_UI2: return v.uiVal;
    case VT_UI4: return v.ulVal;
    case VT_R8: return v.dblVal;
    case VT_BOOL: return v.boolVal;
    default: ADD_FAILURE() << "no reader for type " << v.vt; return 0;
  }
}

TEST(VariantChangeType, CoercesBetweenNumbersAsOleAutomationDoes) {
  const NumberCase cases[] = {
      {VT_I2, -5, VT_I4, S_OK, -5},
      {VT_I4, 70000, VT_I2, DISP_E_OVERFLOW, 0},
      // Between the two 32-bit integers the bits are kept, as oleaut32 does.
      {VT_I4, -1, VT_UI4, S_OK, 4294967295.0},
      {VT_UI4, 4000000000.0, VT_I4, S_OK, -294967296},
      {VT_I2, -1, VT_UI4, DISP_E_OVERFLOW, 0},
      {VT_I4, 255, VT_UI1, S_OK, 255},
      {VT_I4, 256, VT_UI1, DISP_E_OVERFLOW, 0},
      {VT_UI2, 65535, VT_I4, S_OK, 65535},
      {VT_R8, 2.5, VT_I4, S_OK, 2},   // half to even
      {VT_R8, 3.5, VT_I4, S_OK, 4},
      {VT_R8, -2.5, VT_I4, S_OK, -2},
      {VT_R8, 2.4999, VT_I4, S_OK, 2},
      {VT_R8, 3e9, VT_I4, DISP_E_OVERFLOW, 0},
      {VT_BOOL, -1, VT_I4, S_OK, -1},  // VARIANT_TRUE stays -1
      {VT_BOOL, 0, VT_I4, S_OK, 0},
      {VT_I4, 7, VT_BOOL, S_OK, -1},
      {VT_I4, 0, VT_BOOL, S_OK, 0},
      {VT_R8, 0.25, VT_BOOL, S_OK, -1},
      {VT_I4, 12, VT_R8, S_OK, 12},
  };
  for (const NumberCase& c : cases) {
    VARIANT source = Make(c.from, c.value);
    VARIANT target;
    VariantInit(&target);
    HRESULT hr = VariantChangeType(&target, &source, 0, c.to);
    EXPECT_EQ(hr, c.expected) << c.from << " " << c.value << " -> " << c.to;
    if (SUCCEEDED(hr) && hr == c.expected) {
      EXPECT_EQ(target.vt, c.to);
      EXPECT_EQ(Read(target), c.result) << c.from << " " << c.value << " -> " << c.to;
    }
    VariantClear(&target);
  }
}

TEST(VariantChangeType, ReadsTextAsANumber) {
  struct Case {
    const char16_t* text;
    VARTYPE to;
    HRESULT expected;
    double result;
  };
  const Case cases[] = {
      {u"42", VT_I4, S_OK, 42},
      {u"  -17 ", VT_I4, S_OK, -17},
      {u"+8", VT_I2, S_OK, 8},
      {u"2.5", VT_I4, S_OK, 2},
      {u"1e3", VT_I4, S_OK, 1000},
      {u"0.75", VT_R8, S_OK, 0.75},
      {u"abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {u"99999999999", VT_I4, DISP_E_OVERFLOW, 0},
      {u"40000", VT_I2, DISP_E_OVERFLOW, 0},
      {u"True", VT_BOOL, S_OK, -1},
      {u"false", VT_BOOL, S_OK, 0},
      {u"3", VT_BOOL, S_OK, -1},
  };
  for (const Case& c : cases) {
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = ToBstr(c.text);
    VARIANT target;
    VariantInit(&target);
    HRESULT hr = VariantChangeType(&target, &source, 0, c.to);
    std::string shown(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    EXPECT_EQ(hr, c.expected) << "\"" << shown << "\"";
    if (SUCCEEDED(hr) && hr == c.expected) {
      EXPECT_EQ(Read(target), c.result) << shown;
    }
    VariantClear(&source);
    VariantClear(&target);
  }
}

TEST(VariantChangeType, WritesNumbersAsText) {
  struct Case {
    VARTYPE from;
    double value;
    const char16_t* text;
  };
  const Case cases[] = {
      {VT_I4, -123, u"-123"}, {VT_UI2, 65535, u"65535"}, {VT_R8, 1.5, u"1.5"},
      {VT_R8, 0.1, u"0.1"},   {VT_BOOL, -1, u"-1"},      {VT_BOOL, 0, u"0"},
  };
  for (const Case& c : cases) {
    VARIANT source = Make(c.from, c.value);
    VARIANT target;
    VariantInit(&target);
    ASSERT_EQ(VariantChangeType(&target, &source, 0, VT_BSTR), S_OK);
    ASSERT_EQ(target.vt, VT_BSTR);
    EXPECT_EQ(FromBstr(target.bstrVal), c.text) << c.from << " " << c.value;
    VariantClear(&target);
  }
}

TEST(VariantChangeType, ReadsThroughAReferenceAndMayConvertInPlace) {
  LONG number = 31;
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &number;
  VARIANT target;
  VariantInit(&target);
  ASSERT_EQ(VariantChangeType(&target, &byRef, 0, VT_I4), S_OK);
  EXPECT_EQ(target.vt, VT_I4);
  EXPECT_EQ(target.lVal, 31);

  VARIANT same;
  VariantInit(&same);
  same.vt = VT_BSTR;
  same.bstrVal = ToBstr(u"77");
  ASSERT_EQ(VariantChangeType(&same, &same, 0, VT_I4), S_OK);
  EXPECT_EQ(same.vt, VT_I4);
  EXPECT_EQ(same.lVal, 77);
}

TEST(VariantChangeType, RefusesWhatIsNoNumber) {
  VARIANT null;
  VariantInit(&null);
  null.vt = VT_NULL;
  VARIANT target;
  VariantInit(&target);
  EXPECT_EQ(VariantChangeType(&target, &null, 0, VT_I4), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(target.vt, VT_EMPTY) << "a failed coercion leaves the target alone";
}

}  // namespace
