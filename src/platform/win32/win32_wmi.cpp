// Win32 WMI adapter: a session is a locator and the services of one
// namespace; queries and method calls pass through to IWbemServices and
// answer its HRESULTs.
#include "platform/win32/win32_wmi.h"

#include "platform/win32/windows_api.h"

#include <oleauto.h>
#include <wbemidl.h>

#include <memory>
#include <string>

#include "platform/win32/wide_text.h"

namespace kestrel {

namespace {

constexpr Status kTypeMismatch = 0x80041005;  // WBEM_E_TYPE_MISMATCH
constexpr Status kInvalidSession = 0x80070006;  // E_HANDLE

// Owns one reference to a COM object.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ~ComRef() { Reset(); }

  void Reset() {
    if (pointer_ != nullptr) pointer_->Release();
    pointer_ = nullptr;
  }
  T** Receive() {
    Reset();
    return &pointer_;
  }
  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

class Bstr {
 public:
  explicit Bstr(std::u16string_view text)
      : value_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(value_); }
  BSTR get() const { return value_; }

 private:
  BSTR value_;
};

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }
  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

struct Session {
  ComRef<IWbemLocator> locator;
  ComRef<IWbemServices> services;
};

Session* ToSession(WmiSession session) { return reinterpret_cast<Session*>(session); }

Status Hr(HRESULT result) { return static_cast<Status>(result); }

template <typename Element>
bool AppendElements(SAFEARRAY* array, std::vector<std::uint32_t>& numbers) {
  LONG lower = 0, upper = -1;
  if (FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) return false;
  for (LONG index = lower; index <= upper; ++index) {
    Element element{};
    if (FAILED(SafeArrayGetElement(array, &index, &element))) return false;
    numbers.push_back(static_cast<std::uint32_t>(element));
  }
  return true;
}

WmiValue ArrayValue(const VARIANT& value) {
  std::vector<std::uint32_t> numbers;
  bool read = false;
  switch (value.vt & VT_TYPEMASK) {
    case VT_UI1: read = AppendElements<BYTE>(value.parray, numbers); break;
    case VT_I1: read = AppendElements<CHAR>(value.parray, numbers); break;
    case VT_I2: read = AppendElements<SHORT>(value.parray, numbers); break;
    case VT_UI2: read = AppendElements<USHORT>(value.parray, numbers); break;
    case VT_I4: read = AppendElements<LONG>(value.parray, numbers); break;
    case VT_UI4: read = AppendElements<ULONG>(value.parray, numbers); break;
    default: break;
  }
  return read ? WmiValue(std::move(numbers)) : WmiValue();
}

WmiValue ToValue(const VARIANT& value) {
  if ((value.vt & VT_ARRAY) != 0) return value.parray != nullptr ? ArrayValue(value) : WmiValue();
  switch (value.vt) {
    case VT_BOOL: return std::uint32_t{value.boolVal != VARIANT_FALSE ? 1u : 0u};
    case VT_UI1: return std::uint32_t{value.bVal};
    case VT_I1: return static_cast<std::uint32_t>(value.cVal);
    case VT_I2: return static_cast<std::uint32_t>(value.iVal);
    case VT_UI2: return std::uint32_t{value.uiVal};
    case VT_I4: return static_cast<std::uint32_t>(value.lVal);
    case VT_UI4: return static_cast<std::uint32_t>(value.ulVal);
    case VT_INT: return static_cast<std::uint32_t>(value.intVal);
    case VT_UINT: return static_cast<std::uint32_t>(value.uintVal);
    case VT_BSTR:
      return value.bstrVal != nullptr ? FromWide(value.bstrVal, SysStringLen(value.bstrVal)) : std::u16string();
    default: return WmiValue();
  }
}

// Sets `out` to `value` in the VARIANT type WMI expects for a property of `type`.
Status ToVariant(const WmiValue& value, CIMTYPE type, VARIANT& out) {
  if (std::holds_alternative<std::monostate>(value)) {
    out.vt = VT_NULL;
    return kSuccess;
  }
  if (const auto* text = std::get_if<std::u16string>(&value)) {
    out.vt = VT_BSTR;
    out.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text->data()), static_cast<UINT>(text->size()));
    return kSuccess;
  }
  const auto* number = std::get_if<std::uint32_t>(&value);
  if (number == nullptr) return kTypeMismatch;
  switch (type) {
    case CIM_UINT8: out.vt = VT_UI1; out.bVal = static_cast<BYTE>(*number); break;
    case CIM_SINT8:
    case CIM_SINT16: out.vt = VT_I2; out.iVal = static_cast<SHORT>(*number); break;
    case CIM_BOOLEAN: out.vt = VT_BOOL; out.boolVal = *number != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case CIM_UINT64:
    case CIM_SINT64:
    case CIM_STRING: {
      std::wstring digits = std::to_wstring(*number);
      out.vt = VT_BSTR;
      out.bstrVal = SysAllocString(digits.c_str());
      break;
    }
    default: out.vt = VT_I4; out.lVal = static_cast<LONG>(*number); break;
  }
  return kSuccess;
}

// Every non-system property of `object` that has a value.
Status AllProperties(IWbemClassObject* object, std::vector<WmiProperty>& properties) {
  if (HRESULT result = object->BeginEnumeration(WBEM_FLAG_NONSYSTEM_ONLY); FAILED(result)) return Hr(result);
  for (;;) {
    BSTR name = nullptr;
    Variant value;
    HRESULT result = object->Next(0, &name, value.get(), nullptr, nullptr);
    if (result != WBEM_S_NO_ERROR) {
      object->EndEnumeration();
      return FAILED(result) ? Hr(result) : kSuccess;
    }
    WmiValue converted = ToValue(*value);
    if (!std::holds_alternative<std::monostate>(converted)) {
      properties.push_back({FromWide(name, SysStringLen(name)), std::move(converted)});
    }
    SysFreeString(name);
  }
}

Status NamedProperties(IWbemClassObject* object, std::span<const std::u16string_view> names, WmiObject& out) {
  for (std::u16string_view name : names) {
    Variant value;
    std::wstring wide = ToWide(name);
    if (HRESULT result = object->Get(wide.c_str(), 0, value.get(), nullptr, nullptr); FAILED(result)) {
      return Hr(result);
    }
    out.properties.push_back({std::u16string(name), ToValue(*value)});
  }
  return kSuccess;
}

std::u16string SelectStatement(std::u16string_view className, std::span<const std::u16string_view> properties) {
  std::u16string list;
  for (std::u16string_view property : properties) list += (list.empty() ? u"" : u",") + std::u16string(property);
  return u"SELECT " + (list.empty() ? u"*" : list) + u" FROM " + std::u16string(className);
}

Status FillInputs(IWbemClassObject* parameters, const std::vector<WmiProperty>& inputs) {
  for (const WmiProperty& input : inputs) {
    std::wstring name = ToWide(input.name);
    CIMTYPE type = CIM_EMPTY;
    if (HRESULT result = parameters->Get(name.c_str(), 0, nullptr, &type, nullptr); FAILED(result)) return Hr(result);
    Variant value;
    if (Status status = ToVariant(input.value, type, *value.get()); status != kSuccess) return status;
    if (HRESULT result = parameters->Put(name.c_str(), 0, value.get(), 0); FAILED(result)) return Hr(result);
  }
  return kSuccess;
}

}  // namespace

Status Win32Wmi::Connect(std::u16string_view ns, WmiSession& session) {
  session = 0;
  auto created = std::make_unique<Session>();
  HRESULT result = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                    reinterpret_cast<void**>(created->locator.Receive()));
  if (FAILED(result)) return Hr(result);
  Bstr name(ns);
  result = created->locator->ConnectServer(name.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                           created->services.Receive());
  if (FAILED(result)) return Hr(result);
  result = CoSetProxyBlanket(created->services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                             RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  if (FAILED(result)) return Hr(result);
  session = reinterpret_cast<WmiSession>(created.release());
  return kSuccess;
}

Status Win32Wmi::Release(WmiSession session) {
  if (session == 0) return kInvalidSession;
  delete ToSession(session);
  return kSuccess;
}

Status Win32Wmi::Query(WmiSession session, std::u16string_view className,
                       std::span<const std::u16string_view> properties, std::vector<WmiObject>& objects) {
  objects.clear();
  if (session == 0) return kInvalidSession;
  Bstr language(u"WQL");
  Bstr statement(SelectStatement(className, properties));
  ComRef<IEnumWbemClassObject> instances;
  HRESULT result = ToSession(session)->services->ExecQuery(
      language.get(), statement.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
      instances.Receive());
  if (FAILED(result)) return Hr(result);
  for (;;) {
    ComRef<IWbemClassObject> instance;
    ULONG returned = 0;
    result = instances->Next(WBEM_INFINITE, 1, instance.Receive(), &returned);
    if (FAILED(result)) return Hr(result);
    if (returned == 0) return kSuccess;
    WmiObject object;
    Status status = properties.empty() ? AllProperties(instance.get(), object.properties)
                                       : NamedProperties(instance.get(), properties, object);
    if (status != kSuccess) return status;
    objects.push_back(std::move(object));
  }
}

Status Win32Wmi::CallMethod(WmiSession session, std::u16string_view className, std::u16string_view objectPath,
                            std::u16string_view method, const std::vector<WmiProperty>& inputs,
                            std::vector<WmiProperty>& outputs) {
  outputs.clear();
  if (session == 0) return kInvalidSession;
  IWbemServices* services = ToSession(session)->services.get();
  Bstr classBstr(className);
  Bstr methodBstr(method);
  ComRef<IWbemClassObject> classObject;
  HRESULT result = services->GetObject(classBstr.get(), 0, nullptr, classObject.Receive(), nullptr);
  if (FAILED(result)) return Hr(result);
  ComRef<IWbemClassObject> signature;
  std::wstring methodName = ToWide(method);
  result = classObject->GetMethod(methodName.c_str(), 0, signature.Receive(), nullptr);
  if (FAILED(result)) return Hr(result);
  ComRef<IWbemClassObject> parameters;
  if (signature.get() != nullptr) {
    if (result = signature->SpawnInstance(0, parameters.Receive()); FAILED(result)) return Hr(result);
    if (Status status = FillInputs(parameters.get(), inputs); status != kSuccess) return status;
  }
  Bstr path(objectPath);
  ComRef<IWbemClassObject> results;
  result = services->ExecMethod(path.get(), methodBstr.get(), 0, nullptr, parameters.get(), results.Receive(), nullptr);
  if (FAILED(result)) return Hr(result);
  return results.get() != nullptr ? AllProperties(results.get(), outputs) : kSuccess;
}

}  // namespace kestrel
