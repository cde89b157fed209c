// Parameter access across objects.
#include "runtime/params.h"

#include "runtime/report.h"

static std::string Object_text(const std::string& store, const std::string& object) {
  return "In Global_env in store <" + store + "> in  object <" + object + ">";
}

Param_map& Return_fun_data(const std::string& store, const std::string& object,
                           const std::string& fun_name) {
  static Param_map scratch;
  Object* found = Get_object_from_global_store(store, object);
  if (found == nullptr) {
    scratch.clear();
    return scratch;
  }
  if (found->functions.count(fun_name) == 0)
    Report("(Return_fun_data) " + Object_text(store, object) + " fun_name <" + fun_name +
           ">  no found!");
  return found->functions[fun_name].params;
}

Data& Return_fun_var_data(const std::string& store, const std::string& object,
                          const std::string& fun_name, const std::string& param) {
  static Data scratch;
  Object* found = Get_object_from_global_store(store, object);
  if (found == nullptr) {
    scratch = Data();
    return scratch;
  }
  auto function = found->functions.find(fun_name);
  if (function == found->functions.end()) {
    Report("(Return_fun_var_data) " + Object_text(store, object) + " fun_name <" + fun_name +
           ">  no found!");
  } else if (function->second.params.count(param) == 0) {
    Report("(Return_fun_var_data) " + Object_text(store, object) + " in fun_name <" + fun_name +
           "> data <" + param + "> no found!");
  }
  return found->functions[fun_name].params[param];
}

bool Has_fun_var_data(const std::string& store, const std::string& object,
                      const std::string& fun_name, const std::string& param) {
  if (!Is_object_in_global_store(store, object)) return false;
  return Has_fun_param(Global_env[store][object].get(), fun_name, param);
}

bool Delete_fun_param(const std::string& store, const std::string& object,
                      const std::string& fun_name, const std::string& param) {
  Object* found = Get_object_from_global_store(store, object);
  if (found == nullptr) return false;
  auto function = found->functions.find(fun_name);
  if (function == found->functions.end()) {
    Report("(Delete_fun_data) " + Object_text(store, object) + " fun_name <" + fun_name +
           ">  no found!");
    return false;
  }
  if (function->second.params.erase(param) == 0) {
    Report("(Delete_fun_param) " + Object_text(store, object) + " in fun_name <" + fun_name +
           "> param <" + param + "> no found!");
    return false;
  }
  return true;
}

bool Has_param(Object* object, const std::string& param) {
  return object->cur_params != nullptr && object->cur_params->count(param) != 0;
}

bool Has_fun_param(Object* object, const std::string& fun_name, const std::string& param) {
  auto function = object->functions.find(fun_name);
  return function != object->functions.end() && function->second.params.count(param) != 0;
}

void Remove_eval_function_param(Object* object, const std::string& param) {
  if (object->cur_params != nullptr && object->cur_params->erase(param) != 0) return;
  Report("(Remove_eval_function_param) In store <" + object->store + "> in  object <" +
         object->name + "> in fun_name <" + object->fun_name + "> data <" + param +
         " no found!");
}
