#pragma once

namespace rules {}
