// Parameter access across objects: read, test and delete the parameters of any function of
// any object, addressed by store, object and function name.
#pragma once
#include <string>

#include "runtime/object.h"

// Reads create what they miss (and report it). When the object itself is missing, they hand
// out a scratch map or parameter that belongs to no object, emptied on every such call.
Param_map& Return_fun_data(const std::string& store, const std::string& object,
                           const std::string& fun_name);
Data& Return_fun_var_data(const std::string& store, const std::string& object,
                          const std::string& fun_name, const std::string& param);
bool Has_fun_var_data(const std::string& store, const std::string& object,
                      const std::string& fun_name, const std::string& param);
bool Delete_fun_param(const std::string& store, const std::string& object,
                      const std::string& fun_name, const std::string& param);

// On one object: the running function's parameters, or a named function's.
bool Has_param(Object* object, const std::string& param);
bool Has_fun_param(Object* object, const std::string& fun_name, const std::string& param);
void Remove_eval_function_param(Object* object, const std::string& param);
