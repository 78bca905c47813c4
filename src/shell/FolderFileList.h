#pragma once
// The browsing components over the shell namespace and what they share.
#include "shell/FflIconList.h"
#include "shell/FflIconRefs.h"
#include "shell/FflItemInfo.h"
#include "shell/FflNodeInfo.h"
#include "shell/FflShowHidden.h"
#include "shell/FileListControl.h"
#include "shell/FolderTreeView.h"
#include "shell/ShellItemIds.h"
#include "shell/FflFileStyleMenu.h"
#include "shell/FileListView.h"
#include "shell/FolderDropDown.h"
#include "shell/FolderFileToolBar.h"
