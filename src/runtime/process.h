// Frame processing: runs an object's before-list, its children, its after-list, then its
// queued requests.
#pragma once
#include <string>

#include "runtime/object.h"

// The object now being processed; callbacks reach their object only through it.
extern Object* Current_object;

void Process_obj(Object* object);
bool Launch_from_global_store(const std::string& store_name, const std::string& object_name);
void Stop_function_before(Object* object, const std::string& fun_name);
void Stop_function_after(Object* object, const std::string& fun_name);
void Remove_function(Object* object, const std::string& fun_name);
