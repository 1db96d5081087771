#pragma once

// The hub's Review command opens the week review.
void RegisterReviewWindows();
