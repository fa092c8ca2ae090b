#pragma once
// Windows, messages, timers, painting, input, framework window classes.
