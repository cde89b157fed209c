// Frame processing: runs an object's before-list, its children, its after-list, then its
// queued requests.
#pragma once
#include <string>

#include "runtime/object.h"

// The object now being processed; callbacks reach their object only through it.
extern Object* Current_object;
// The root of the object tree ("Main_store"/"main"), which the frame walk starts from: made
// by Create_main_object, owned like every object by the global store.
extern Object* Main_object;
// Makes the root object (the boot scene, once a run).
void Create_main_object();
// Destroys every object and forgets the root and the running object (the shutdown).
void Destroy_all_objects();

void Process_obj(Object* object);
bool Launch_from_global_store(const std::string& store_name, const std::string& object_name);
void Stop_function_before(Object* object, const std::string& fun_name);
void Stop_function_after(Object* object, const std::string& fun_name);
void Remove_function(Object* object, const std::string& fun_name);
