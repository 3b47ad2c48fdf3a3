// BSTR and VARIANT handling where the system has no oleaut32. The results
// follow oleaut32's, which the same tests check under wine.
#include "platform/com.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace {

// The byte length sits in front of the characters.
uint32_t* Prefix(BSTR text) { return reinterpret_cast<uint32_t*>(text) - 1; }

// A value on its way between two types: an exact integer or a double.
struct Number {
  bool isDouble = false;
  int64_t integer = 0;
  double real = 0.0;
  double AsDouble() const { return isDouble ? real : static_cast<double>(integer); }
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool EqualsIgnoringCase(const std::u16string& text, const char* word) {
  size_t n = std::strlen(word);
  if (text.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    char w = word[i];
    if (w >= 'A' && w <= 'Z') w = static_cast<char>(w - 'A' + 'a');
    if (c != static_cast<char16_t>(w)) return false;
  }
  return true;
}

// Decimal text with optional sign, fraction and exponent, blanks around it.
HRESULT ParseNumber(BSTR text, Number* out) {
  std::u16string s = platform::FromBstr(text);
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsSpace(s[begin])) ++begin;
  while (end > begin && IsSpace(s[end - 1])) --end;
  if (begin == end) return DISP_E_TYPEMISMATCH;
  std::string ascii;
  bool digits = false;
  bool fraction = false;
  bool exponent = false;
  for (size_t i = begin; i < end; ++i) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      digits = true;
    } else if ((c == u'+' || c == u'-') &&
               (i == begin || s[i - 1] == u'e' || s[i - 1] == u'E')) {
    } else if (c == u'.' && !fraction && !exponent) {
      fraction = true;
    } else if ((c == u'e' || c == u'E') && digits && !exponent) {
      exponent = true;
    } else {
      return DISP_E_TYPEMISMATCH;
    }
    ascii.push_back(static_cast<char>(c));
  }
  if (!digits) return DISP_E_TYPEMISMATCH;
  char* stop = nullptr;
  if (!fraction && !exponent) {
    errno = 0;
    long long value = std::strtoll(ascii.c_str(), &stop, 10);
    if (errno == 0 && *stop == '\0') {
      out->isDouble = false;
      out->integer = value;
      return S_OK;
    }
  }
  double value = std::strtod(ascii.c_str(), &stop);
  if (*stop != '\0') return DISP_E_TYPEMISMATCH;
  if (!std::isfinite(value)) return DISP_E_OVERFLOW;
  out->isDouble = true;
  out->real = value;
  return S_OK;
}

// The value of a source VARIANT, read through VT_BYREF.
HRESULT ReadNumber(VARTYPE type, const void* value, Number* out) {
  out->isDouble = false;
  switch (type) {
    case VT_EMPTY: out->integer = 0; return S_OK;
    case VT_I1: out->integer = *static_cast<const CHAR*>(value); return S_OK;
    case VT_UI1: out->integer = *static_cast<const BYTE*>(value); return S_OK;
    case VT_I2: out->integer = *static_cast<const SHORT*>(value); return S_OK;
    case VT_UI2: out->integer = *static_cast<const USHORT*>(value); return S_OK;
    case VT_BOOL: out->integer = *static_cast<const VARIANT_BOOL*>(value); return S_OK;
    case VT_I4:
    case VT_INT: out->integer = *static_cast<const LONG*>(value); return S_OK;
    case VT_UI4:
    case VT_UINT: out->integer = *static_cast<const ULONG*>(value); return S_OK;
    case VT_I8: out->integer = *static_cast<const LONGLONG*>(value); return S_OK;
    case VT_UI8: {
      ULONGLONG v = *static_cast<const ULONGLONG*>(value);
      if (v > static_cast<ULONGLONG>(std::numeric_limits<int64_t>::max())) {
        out->isDouble = true;
        out->real = static_cast<double>(v);
      } else {
        out->integer = static_cast<int64_t>(v);
      }
      return S_OK;
    }
    case VT_R4: out->isDouble = true; out->real = *static_cast<const FLOAT*>(value); return S_OK;
    case VT_R8: out->isDouble = true; out->real = *static_cast<const DOUBLE*>(value); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
  }
}

// Integers of the target range; doubles round half to even first.
HRESULT ToRange(const Number& n, double low, double high, int64_t* out) {
  if (n.isDouble) {
    double r = std::nearbyint(n.real);  // the default rounding is half to even
    if (!(r >= low && r <= high)) return DISP_E_OVERFLOW;
    *out = static_cast<int64_t>(r);
    return S_OK;
  }
  if (static_cast<double>(n.integer) < low || static_cast<double>(n.integer) > high) {
    return DISP_E_OVERFLOW;
  }
  *out = n.integer;
  return S_OK;
}

HRESULT StoreNumber(const Number& n, VARTYPE type, VARIANT* out) {
  int64_t v = 0;
  HRESULT hr = S_OK;
  switch (type) {
    case VT_I1: hr = ToRange(n, -128, 127, &v); out->cVal = static_cast<CHAR>(v); break;
    case VT_UI1: hr = ToRange(n, 0, 255, &v); out->bVal = static_cast<BYTE>(v); break;
    case VT_I2: hr = ToRange(n, -32768, 32767, &v); out->iVal = static_cast<SHORT>(v); break;
    case VT_UI2: hr = ToRange(n, 0, 65535, &v); out->uiVal = static_cast<USHORT>(v); break;
    case VT_I4:
    case VT_INT:
      hr = ToRange(n, -2147483648.0, 2147483647.0, &v);
      out->lVal = static_cast<LONG>(v);
      break;
    case VT_UI4:
    case VT_UINT:
      hr = ToRange(n, 0, 4294967295.0, &v);
      out->ulVal = static_cast<ULONG>(v);
      break;
    case VT_I8:
      if (n.isDouble) {
        hr = ToRange(n, -9223372036854775808.0, 9223372036854774784.0, &v);
      } else {
        v = n.integer;
      }
      out->llVal = v;
      break;
    case VT_UI8:
      if (n.isDouble) {
        double r = std::nearbyint(n.real);
        if (!(r >= 0 && r < 18446744073709551616.0)) return DISP_E_OVERFLOW;
        out->ullVal = static_cast<ULONGLONG>(r);
      } else {
        if (n.integer < 0) return DISP_E_OVERFLOW;
        out->ullVal = static_cast<ULONGLONG>(n.integer);
      }
      break;
    case VT_R4: {
      double d = n.AsDouble();
      if (std::fabs(d) > std::numeric_limits<float>::max()) return DISP_E_OVERFLOW;
      out->fltVal = static_cast<FLOAT>(d);
      break;
    }
    case VT_R8: out->dblVal = n.AsDouble(); break;
    case VT_BOOL:
      out->boolVal = (n.isDouble ? n.real != 0.0 : n.integer != 0) ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    default: return DISP_E_TYPEMISMATCH;
  }
  if (FAILED(hr)) return hr;
  out->vt = type;
  return S_OK;
}

BSTR NumberText(VARTYPE type, const Number& n) {
  char text[64];
  if (type == VT_R4) {
    std::snprintf(text, sizeof text, "%.7G", n.real);
  } else if (n.isDouble) {
    std::snprintf(text, sizeof text, "%.15G", n.real);
  } else {
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(n.integer));
  }
  std::u16string wide(text, text + std::strlen(text));
  return platform::ToBstr(wide);
}

bool IsInterface(VARTYPE type) { return type == VT_DISPATCH || type == VT_UNKNOWN; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > (std::numeric_limits<uint32_t>::max() - 6) / 2) return nullptr;
  void* block = std::malloc(sizeof(uint32_t) + (static_cast<size_t>(length) + 1) * sizeof(OLECHAR));
  if (block == nullptr) return nullptr;
  uint32_t* prefix = static_cast<uint32_t*>(block);
  *prefix = length * static_cast<uint32_t>(sizeof(OLECHAR));
  BSTR result = reinterpret_cast<BSTR>(prefix + 1);
  if (text != nullptr) {
    std::memcpy(result, text, length * sizeof(OLECHAR));
  } else {
    std::memset(result, 0, length * sizeof(OLECHAR));
  }
  result[length] = 0;
  return result;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  UINT length = 0;
  while (text[length] != 0) ++length;
  return SysAllocStringLen(text, length);
}

UINT SysStringLen(BSTR text) {
  return text == nullptr ? 0 : *Prefix(text) / static_cast<uint32_t>(sizeof(OLECHAR));
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(Prefix(text));
}

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
  if (target == nullptr) return 0;
  BSTR copy = SysAllocString(text);
  if (copy == nullptr && text != nullptr) return 0;
  SysFreeString(*target);
  *target = copy;
  return 1;
}

void VariantInit(VARIANTARG* v) {
  std::memset(v, 0, sizeof *v);
  v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* v) {
  if (v == nullptr) return E_INVALIDARG;
  if (v->vt == VT_BSTR) {
    SysFreeString(v->bstrVal);
  } else if (IsInterface(v->vt) && v->punkVal != nullptr) {
    v->punkVal->Release();
  }
  VariantInit(v);
  return S_OK;
}

HRESULT VariantCopy(VARIANTARG* destination, const VARIANTARG* source) {
  if (destination == nullptr || source == nullptr) return E_INVALIDARG;
  if (destination == source) return S_OK;
  VARIANT copy = *source;
  if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
    copy.bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
  } else if (IsInterface(source->vt) && source->punkVal != nullptr) {
    source->punkVal->AddRef();
  }
  VariantClear(destination);
  *destination = copy;
  return S_OK;
}

HRESULT VariantChangeType(VARIANTARG* destination, const VARIANTARG* source, USHORT /*flags*/,
                          VARTYPE type) {
  if (destination == nullptr || source == nullptr) return E_INVALIDARG;
  const VARIANT* from = source;
  if (from->vt == (VT_BYREF | VT_VARIANT)) {
    if (from->pvarVal == nullptr) return E_INVALIDARG;
    from = from->pvarVal;
  }
  const bool byRef = (from->vt & VT_BYREF) != 0;
  const VARTYPE fromType = static_cast<VARTYPE>(from->vt & ~VT_BYREF);
  if (byRef && from->byref == nullptr) return E_INVALIDARG;
  const void* value = byRef ? from->byref : static_cast<const void*>(&from->llVal);
  if (fromType == type && !byRef) return VariantCopy(destination, from);
  const bool fromWord = fromType == VT_I4 || fromType == VT_INT || fromType == VT_UI4 ||
                        fromType == VT_UINT;
  const bool toWord = type == VT_I4 || type == VT_INT || type == VT_UI4 || type == VT_UINT;
  if (fromWord && toWord) {
    // oleaut32 keeps the bits between the signed and unsigned 32-bit types.
    VARIANT result;
    VariantInit(&result);
    result.vt = type;
    result.ulVal = *static_cast<const ULONG*>(value);
    VariantClear(destination);
    *destination = result;
    return S_OK;
  }

  VARIANT result;
  VariantInit(&result);
  if (type == VT_BSTR) {
    if (fromType == VT_BSTR) {
      BSTR text = *static_cast<const BSTR*>(value);
      result.bstrVal = SysAllocStringLen(text, SysStringLen(text));
    } else if (fromType == VT_EMPTY) {
      result.bstrVal = SysAllocStringLen(nullptr, 0);
    } else {
      Number n;
      HRESULT hr = ReadNumber(fromType, value, &n);
      if (FAILED(hr)) return hr;
      result.bstrVal = NumberText(fromType, n);
    }
    if (result.bstrVal == nullptr) return E_OUTOFMEMORY;
    result.vt = VT_BSTR;
  } else {
    Number n;
    HRESULT hr;
    if (fromType == VT_BSTR) {
      BSTR text = *static_cast<const BSTR*>(value);
      if (type == VT_BOOL && EqualsIgnoringCase(platform::FromBstr(text), "true")) {
        n.integer = -1;
        hr = S_OK;
      } else if (type == VT_BOOL && EqualsIgnoringCase(platform::FromBstr(text), "false")) {
        n.integer = 0;
        hr = S_OK;
      } else {
        hr = ParseNumber(text, &n);
      }
    } else {
      hr = ReadNumber(fromType, value, &n);
    }
    if (FAILED(hr)) return hr;
    hr = StoreNumber(n, type, &result);
    if (FAILED(hr)) return hr;
  }
  VariantClear(destination);
  *destination = result;
  return S_OK;
}
